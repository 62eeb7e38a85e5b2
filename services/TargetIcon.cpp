#include "services/TargetIcon.h"

#include "framework/CodePage.h"
#include "framework/Handles.h"
#include "framework/RegistryKey.h"

#include <shellapi.h>

#include <optional>

namespace {

bool IsFolderOnDisk(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    CFindHandle find(FindFirstFileW(path.c_str(), &data));
    return find && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The DefaultIcon text registered for an extension, in UTF-8 for the rule.
std::optional<std::string> TypeIconSpecification(const std::wstring& extension)
{
    CRegistryKey key;
    std::wstring typeName;
    if (!key.Open(HKEY_CLASSES_ROOT, extension, KEY_QUERY_VALUE) ||
        !key.ReadString(L"", kRegistryTextMax, typeName) || typeName.empty())
        return std::nullopt;
    std::wstring spec;
    if (!key.Open(HKEY_CLASSES_ROOT, typeName + L"\\DefaultIcon", KEY_QUERY_VALUE) ||
        !key.ReadString(L"", kRegistryTextMax, spec))
        return std::nullopt;
    return WideToUtf8(spec);
}

bool IsExistingFolderUtf8(const std::string& path)
{
    const std::optional<std::wstring> wide = Utf8ToWide(path);
    return wide && IsFolderOnDisk(*wide);
}

bool TypeIconUtf8(const std::string& extension, std::string& iconFile, int& iconIndex)
{
    const std::optional<std::wstring> wide = Utf8ToWide(extension);
    const std::optional<std::string> spec = wide ? TypeIconSpecification(*wide) : std::nullopt;
    if (!spec)
        return false;
    ParseIconSpecification(*spec, iconFile, iconIndex);
    return true;
}

// Tries the chosen file, then its fallback; the rule's UTF-8 names become
// UTF-16 here, and one that does not convert yields no icon.
template <typename Extract>
HICON WithFallback(const IconChoice& choice, Extract extract)
{
    const auto from = [&extract](const std::string& file, int index) -> HICON {
        const std::optional<std::wstring> wide = Utf8ToWide(file);
        return wide ? extract(*wide, index) : nullptr;
    };
    HICON icon = from(choice.file, choice.index);
    if (!icon && !choice.fallbackFile.empty())
        icon = from(choice.fallbackFile, choice.fallbackIndex);
    return icon;
}

} // namespace

const IconQueries& SystemIconQueries()
{
    static const IconQueries queries{IsExistingFolderUtf8, TypeIconUtf8};
    return queries;
}

IconChoice ChooseTargetIcon(const std::wstring& target, const IconQueries& queries)
{
    return ChooseTargetIcon(WideToUtf8(target).value_or(std::string()), queries);
}

bool GetTypeIcon(const std::wstring& extension, std::wstring& iconFile, int& iconIndex)
{
    const std::optional<std::string> spec = TypeIconSpecification(extension);
    if (!spec)
        return false;
    std::string file;
    int index = 0;
    ParseIconSpecification(*spec, file, index);
    // Split from text that came from UTF-16 at an ASCII comma: converts back.
    iconFile = Utf8ToWide(file).value_or(std::wstring());
    iconIndex = index;
    return true;
}

HICON ExtractOneIcon(const std::wstring& file, int index, bool large)
{
    if (file.empty())
        return nullptr;
    HICON icon = nullptr;
    const UINT got = ExtractIconExW(file.c_str(), index, large ? &icon : nullptr, large ? nullptr : &icon, 1);
    if (got == 0 || got == UINT_MAX)
        return nullptr;
    return icon;
}

HICON ExtractIconOfSize(const std::wstring& file, int index, int size)
{
    if (file.empty() || size <= 0)
        return nullptr;
    // ExtractIconEx gives only the system DPI's two sizes; this is what it
    // calls underneath, for any size, from the nearest image in the file.
    HICON icon = nullptr;
    UINT iconId = 0;
    const UINT got = PrivateExtractIconsW(file.c_str(), index, size, size, &icon, &iconId, 1, LR_DEFAULTCOLOR);
    if (got == 0 || got == UINT_MAX)
        return nullptr;
    return icon;
}

HICON ExtractChosenIcon(const IconChoice& choice, int size)
{
    return WithFallback(choice, [size](const std::wstring& file, int index) {
        return ExtractIconOfSize(file, index, size);
    });
}

HICON GetTargetIcon(const std::wstring& target, bool large)
{
    return WithFallback(ChooseTargetIcon(target, SystemIconQueries()), [large](const std::wstring& file, int index) {
        return ExtractOneIcon(file, index, large);
    });
}

HICON GetTargetIconOfSize(const std::wstring& target, int size)
{
    return ExtractChosenIcon(ChooseTargetIcon(target, SystemIconQueries()), size);
}
