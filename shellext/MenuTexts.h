#pragma once
// The texts that the extension shows or hands to the shell.
namespace tesselator {

constexpr char kSubmenuText[] = "Fast Folders";
constexpr char kSettingsText[] = "Settings...";
constexpr char kHelpText[] = "Fast Folders";
constexpr wchar_t kHelpTextWide[] = L"Fast Folders";
constexpr char kSettingsParameters[] = "-ffsettings";

} // namespace tesselator
