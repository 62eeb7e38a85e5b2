#include "tests/support/LinkReader.h"

#include "framework/Handles.h"

#include <windows.h>
#include <shlobj.h>

#include "tests/support/TempFolder.h"

#include <cstring>
#include <vector>

bool ReadLink(const std::wstring& linkPath, LinkFields& fields)
{
    const HRESULT init = CoInitialize(nullptr);
    bool ok = false;
    {
        CInterfacePtr<IShellLinkW> link;
        CInterfacePtr<IPersistFile> file;
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                       link.PutVoid())) &&
            SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.PutVoid())) &&
            SUCCEEDED(file->Load(linkPath.c_str(), STGM_READ))) {
            std::vector<wchar_t> buffer(4096, L'\0');
            link->GetPath(buffer.data(), static_cast<int>(buffer.size()), nullptr, SLGP_RAWPATH);
            fields.path = buffer.data();
            PIDLIST_ABSOLUTE items = nullptr;
            if (SUCCEEDED(link->GetIDList(&items)) && items) {
                buffer.assign(buffer.size(), L'\0');
                if (SHGetPathFromIDListEx(items, buffer.data(), static_cast<DWORD>(buffer.size()), GPFIDL_DEFAULT))
                    fields.itemPath = buffer.data();
                CoTaskMemFree(items);
            }
            buffer.assign(buffer.size(), L'\0');
            link->GetArguments(buffer.data(), static_cast<int>(buffer.size()));
            fields.arguments = buffer.data();
            buffer.assign(buffer.size(), L'\0');
            link->GetWorkingDirectory(buffer.data(), static_cast<int>(buffer.size()));
            fields.workingDirectory = buffer.data();
            buffer.assign(buffer.size(), L'\0');
            link->GetDescription(buffer.data(), static_cast<int>(buffer.size()));
            fields.description = buffer.data();
            ok = true;
        }
    }
    if (SUCCEEDED(init))
        CoUninitialize();
    // Wine's ShellLink loads every show command back as 1, so the field is
    // read from the file header itself (ShowCommand, offset 0x3C).
    if (ok) {
        const std::string bytes = ReadFileBytes(linkPath);
        ok = bytes.size() >= 0x40;
        if (ok)
            std::memcpy(&fields.showCommand, bytes.data() + 0x3C, sizeof(int));
    }
    return ok;
}
