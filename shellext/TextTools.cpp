#include "shellext/TextTools.h"

namespace tesselator {

bool ToWide(const char* text, wchar_t* out, int capacity)
{
    if (capacity <= 0)
        return false;
    if (MultiByteToWideChar(CP_ACP, 0, text, -1, out, capacity) == 0) {
        out[0] = L'\0';
        return false;
    }
    return true;
}

std::wstring ToWide(std::string_view text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string ReplaceExtension(std::string_view path, std::string_view extension)
{
    const size_t slash = path.find_last_of("\\/");
    const size_t dot = path.rfind('.');
    const bool hasExtension = dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
    std::string result(hasExtension ? path.substr(0, dot) : path);
    result += extension;
    return result;
}

std::string DoubleEvery(std::string_view text, char c)
{
    std::string out;
    out.reserve(text.size());
    for (const char each : text) {
        out += each;
        if (each == c)
            out += c;
    }
    return out;
}

} // namespace tesselator
