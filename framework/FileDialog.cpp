#include "framework/FileDialog.h"

#include "framework/Handles.h"
#include "framework/Services.h"

#include <commdlg.h>

#include <vector>

namespace {

using DialogFunction = BOOL WINAPI(OPENFILENAMEW*);

// The dialogs' library is loaded when a dialog is first asked for, not with
// the program: with the printing support it pulls in, it was about a tenth
// of every start. A known system library, so found in System32 only; kept
// until the process ends.
DialogFunction* LoadDialogFunction(const char* name)
{
    static const CLibraryHandle library(LoadLibraryW(L"comdlg32.dll"));
    return library ? reinterpret_cast<DialogFunction*>(GetProcAddress(library.Get(), name)) : nullptr;
}

std::wstring Choose(const FileDialogRequest& request, DWORD flags, const std::function<BOOL(OPENFILENAMEW&)>& seam,
                   const char* realName)
{
    const std::wstring filter = FilterFromResource(request.filter);
    std::vector<wchar_t> file(4096, L'\0');
    request.initialName.copy(file.data(), file.size() - 1);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = request.owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = request.title;
    dialog.lpstrDefExt = request.defaultExtension;
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | flags;
    BOOL chosen = FALSE;
    if (seam)
        chosen = seam(dialog);
    else if (DialogFunction* real = LoadDialogFunction(realName))
        chosen = real(&dialog);
    return chosen ? std::wstring(file.data()) : std::wstring();
}

} // namespace

std::wstring FilterFromResource(const std::wstring& text)
{
    std::wstring filter = text;
    for (wchar_t& c : filter)
        if (c == L'|')
            c = L'\0';
    return filter;
}

std::wstring ChooseFileToOpen(const FileDialogRequest& request)
{
    return Choose(request, 0, Services().openFileName, "GetOpenFileNameW");
}

std::wstring ChooseFileToSave(const FileDialogRequest& request)
{
    return Choose(request, OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, Services().saveFileName, "GetSaveFileNameW");
}
