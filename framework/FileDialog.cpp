#include "framework/FileDialog.h"

#include "framework/Services.h"

#include <commdlg.h>

#include <vector>

namespace {

std::string Choose(const FileDialogRequest& request, DWORD flags, const std::function<BOOL(OPENFILENAMEA&)>& seam,
                   BOOL(WINAPI* real)(OPENFILENAMEA*))
{
    const std::string filter = FilterFromResource(request.filter);
    std::vector<char> file(4096, '\0');
    request.initialName.copy(file.data(), file.size() - 1);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = request.owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = request.title;
    dialog.lpstrDefExt = request.defaultExtension;
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | flags;
    const BOOL chosen = seam ? seam(dialog) : real(&dialog);
    return chosen ? std::string(file.data()) : std::string();
}

} // namespace

std::string FilterFromResource(const std::string& text)
{
    std::string filter = text;
    for (char& c : filter)
        if (c == '|')
            c = '\0';
    return filter;
}

std::string ChooseFileToOpen(const FileDialogRequest& request)
{
    return Choose(request, 0, Services().openFileName, GetOpenFileNameA);
}

std::string ChooseFileToSave(const FileDialogRequest& request)
{
    return Choose(request, OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, Services().saveFileName, GetSaveFileNameA);
}
