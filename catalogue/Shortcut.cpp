#include "catalogue/Shortcut.h"

#include "catalogue/PropertiesCodec.h"
#include "framework/CodePage.h"
#include "framework/ComApartment.h"
#include "framework/Handles.h"
#include "framework/TextFile.h"
#include "resources/Texts.h"

#include <windows.h>
#include <shlobj.h>

bool CShortcut::WriteLink(const std::wstring& linkPath, std::wstring& message) const
{
    CComApartment com;
    if (!com.Ok()) {
        message = TXT_OLE_INIT_FAILED;
        return false;
    }
    CInterfacePtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.PutVoid())))
        return false;
    if (m_targetPath.size() > kMaxCommandTarget || FAILED(link->SetPath(m_targetPath.c_str())))
        return false;
    link->SetWorkingDirectory(m_workingDirectory.c_str());
    link->SetDescription(m_description.c_str());
    link->SetArguments(m_arguments.c_str());
    if (FAILED(link->SetShowCmd(m_showCommand)))
        return false;
    CInterfacePtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.PutVoid())))
        return false;
    if (FAILED(file->Save(linkPath.c_str(), FALSE))) {
        message = TXT_SHORTCUT_SAVE_FAILED;
        return false;
    }
    return true;
}

std::string CShortcut::FormatProperties(const std::wstring& name) const
{
    const auto utf8Name = WideToUtf8(name);
    const auto target = WideToUtf8(m_targetPath);
    const auto arguments = WideToUtf8(m_arguments);
    if (!utf8Name || !target || !arguments)
        return {};
    return EncodeCommandProperties(*utf8Name, *target, *arguments, m_showCommand, AnsiCodePageConverter()).bytes;
}

bool CShortcut::WriteProperties(const std::wstring& propertiesPath, const std::wstring& name) const
{
    const std::string bytes = FormatProperties(name);
    if (bytes.empty())
        return false;
    CTextWriter file;
    if (!file.Open(propertiesPath))
        return false;
    // A write that fails after a good open (a full disk) is a failure too:
    // a cut properties file would list a wrong command.
    const bool written = file.Write(bytes) && file.Flush();
    return file.Close() && written;
}
