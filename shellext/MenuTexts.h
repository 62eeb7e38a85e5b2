#pragma once
// The texts that the extension shows or hands to the shell.
namespace tesselator {

constexpr wchar_t kSubmenuText[] = L"Fast Folders";
constexpr wchar_t kSettingsText[] = L"Settings...";
// GetCommandString answers in the form the shell asks for.
constexpr char kHelpText[] = "Fast Folders";
constexpr wchar_t kHelpTextWide[] = L"Fast Folders";
constexpr wchar_t kSettingsParameters[] = L"-ffsettings";

} // namespace tesselator
