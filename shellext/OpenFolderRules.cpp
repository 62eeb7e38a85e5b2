#include "shellext/OpenFolderRules.h"

#include "shellext/HandlerRules.h"

#include <algorithm>
#include <limits>
#include <set>

namespace tesselator {

namespace {

// A path names the same folder with or without a trailing backslash, except
// a drive root, whose backslash is part of its name.
std::u16string_view WithoutTrailingSlash(std::u16string_view path)
{
    while (path.size() > 3 && (path.back() == u'\\' || path.back() == u'/'))
        path.remove_suffix(1);
    return path;
}

} // namespace

std::u16string AsciiFoldedKey(std::u16string_view path)
{
    std::u16string key(path);
    for (char16_t& unit : key) {
        if (unit >= u'a' && unit <= u'z')
            unit = static_cast<char16_t>(unit - u'a' + u'A');
    }
    return key;
}

std::vector<std::u16string> OpenFolderList(std::vector<WindowFolder> windows, std::u16string_view ownFolder,
                                           FolderKey key)
{
    const auto place = [](const WindowFolder& window) {
        return window.zOrder < 0 ? std::numeric_limits<int>::max() : window.zOrder;
    };
    std::stable_sort(windows.begin(), windows.end(),
                     [&](const WindowFolder& a, const WindowFolder& b) { return place(a) < place(b); });

    std::set<std::u16string> seen;
    if (!ownFolder.empty())
        seen.insert(key(WithoutTrailingSlash(ownFolder)));
    std::vector<std::u16string> list;
    for (WindowFolder& window : windows) {
        if (list.size() == static_cast<size_t>(kMaxOpenFolders))
            break;
        if (window.path.empty() || !seen.insert(key(WithoutTrailingSlash(window.path))).second)
            continue;
        list.push_back(std::move(window.path));
    }
    return list;
}

} // namespace tesselator
