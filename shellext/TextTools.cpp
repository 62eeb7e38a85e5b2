#include "shellext/TextTools.h"

#include <windows.h>

#include <climits>

namespace tesselator {

bool ToWide(const char* text, wchar_t* out, int capacity)
{
    if (!text || capacity <= 0)
        return false;
    return CopyWhole(ToWide(std::string_view(text)), out, static_cast<size_t>(capacity));
}

std::wstring ToWide(std::string_view text)
{
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
    return wide;
}

} // namespace tesselator
