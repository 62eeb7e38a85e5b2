#include "framework/Elevation.h"

#include "framework/Handles.h"
#include "framework/MessageBox.h"
#include "framework/Services.h"

bool IsProcessElevated()
{
    if (const auto answer = Services().processElevated)
        return answer();
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened))
        return false;
    const CKernelHandle token(opened);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

bool RequireElevation(const std::wstring& message)
{
    if (IsProcessElevated())
        return true;
    AppMessageBox(message, MB_OK | MB_ICONINFORMATION);
    return false;
}
