#include "services/ShellOpen.h"

#include "framework/Services.h"

#include <shellapi.h>

namespace {

const wchar_t* OrNull(const std::wstring& text)
{
    return text.empty() ? nullptr : text.c_str();
}

} // namespace

bool ShellOpen(const ShellRequest& request)
{
    if (const auto open = Services().shellOpen)
        return open(request);
    if (!request.extended) {
        const HINSTANCE result = ShellExecuteW(request.owner, OrNull(request.verb), request.file.c_str(),
                                               request.parameters.c_str(), request.directory.c_str(),
                                               request.show);
        return reinterpret_cast<INT_PTR>(result) > 32;
    }
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = request.mask;
    info.hwnd = request.owner;
    info.lpVerb = OrNull(request.verb);
    info.lpFile = request.file.c_str();
    info.lpParameters = OrNull(request.parameters);
    info.lpDirectory = OrNull(request.directory);
    info.nShow = request.show;
    return ShellExecuteExW(&info) != FALSE;
}

bool OpenWithShell(const std::wstring& target)
{
    ShellRequest request;
    request.verb = L"open";
    request.file = target;
    return ShellOpen(request);
}
