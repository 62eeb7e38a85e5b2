#pragma once
// The texts that the extension shows or hands to the shell.
namespace tesselator {

constexpr wchar_t kSubmenuText[] = L"Fast Folders";
constexpr wchar_t kSettingsText[] = L"Settings...";
constexpr wchar_t kOpenFoldersText[] = L"Folders open in Explorer";
// Grey: the nested submenu before it is filled, and when nothing was found.
constexpr wchar_t kNoOpenFoldersText[] = L"(no folders open in Explorer)";
// GetCommandString answers in the form the shell asks for.
constexpr char kHelpText[] = "Fast Folders";
constexpr wchar_t kHelpTextWide[] = L"Fast Folders";
constexpr wchar_t kSettingsParameters[] = L"-ffsettings";

} // namespace tesselator
