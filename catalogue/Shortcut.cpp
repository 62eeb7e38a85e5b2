#include "catalogue/Shortcut.h"

#include "catalogue/PropertiesFormat.h"
#include "framework/CodePage.h"
#include "framework/ComApartment.h"
#include "framework/Handles.h"
#include "framework/TextFile.h"
#include "resources/Texts.h"

#include <windows.h>
#include <shlobj.h>


bool CShortcut::WriteLink(const std::string& linkPath, std::string& message) const
{
    CComApartment com;
    if (!com.Ok()) {
        message = TXT_OLE_INIT_FAILED;
        return false;
    }
    CInterfacePtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
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
    if (FAILED(file->Save(AnsiToWide(linkPath).c_str(), FALSE))) {
        message = TXT_SHORTCUT_SAVE_FAILED;
        return false;
    }
    return true;
}

std::string CShortcut::FormatProperties(const std::string& name) const
{
    return FormatPropertiesText(name, m_targetPath, m_arguments, m_showCommand);
}

bool CShortcut::WriteProperties(const std::string& propertiesPath, const std::string& name) const
{
    CTextWriter file;
    if (!file.Open(propertiesPath))
        return false;
    // A write that fails after a good open (a full disk) is a failure too:
    // a cut properties file would list a wrong command.
    const bool written = file.Write(FormatProperties(name)) && file.Flush();
    return file.Close() && written;
}
