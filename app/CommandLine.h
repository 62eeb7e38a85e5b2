#pragma once
// How the program was asked to start, decided on the whole command line
// unit for unit: nothing is split, unquoted or folded to one case. A
// template over the string type: the program passes UTF-16, the fuzzer bytes.
#include <string>
#include <string_view>

enum class StartMode {
    path,        // a ':' anywhere: the New Command dialog for that path
    fastFolders, // exactly "-ffsettings": the Fast Folders page in front
    system,      // exactly "-systemcommands": the System Commands page in front
    normal,      // anything else, empty included: My Commands in front
};

// The option that brings that page back in front (a restart as
// administrator); empty for My Commands.
inline constexpr wchar_t kFastFoldersOption[] = L"-ffsettings";
inline constexpr wchar_t kSystemCommandsOption[] = L"-systemcommands";

namespace commandline_detail {

template <typename String>
bool IsOption(const String& text, std::wstring_view option)
{
    if (text.size() != option.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (static_cast<unsigned long>(text[i]) != static_cast<unsigned long>(option[i]))
            return false;
    return true;
}

} // namespace commandline_detail

template <typename String>
StartMode ClassifyCommandLine(const String& commandLine)
{
    if (commandLine.find(typename String::value_type(':')) != String::npos)
        return StartMode::path;
    if (commandline_detail::IsOption(commandLine, kFastFoldersOption))
        return StartMode::fastFolders;
    if (commandline_detail::IsOption(commandLine, kSystemCommandsOption))
        return StartMode::system;
    return StartMode::normal;
}
