#pragma once
// The record from which a command's shortcut file and properties file are
// written.
#include "catalogue/CommandLimits.h"

#include <string>

class CShortcut {
public:
    void SetTargetPath(const std::wstring& path) { m_targetPath = path; }
    void SetWorkingDirectory(const std::wstring& dir) { m_workingDirectory = dir; }
    void SetDescription(const std::wstring& text) { m_description = text; }
    void SetArguments(const std::wstring& args) { m_arguments = args; }
    void SetShowCommand(int showCommand) { m_showCommand = showCommand; }

    // Writes the shell link and shows nothing; false on failure, with the
    // user's text in `message` when COM could not start or the save failed.
    bool WriteLink(const std::wstring& linkPath, std::wstring& message) const;
    // Writes the four-line properties file; shows nothing.
    bool WriteProperties(const std::wstring& propertiesPath, const std::wstring& name) const;

    // The properties file's bytes, as WriteProperties writes them: today's
    // form when the ANSI code page holds every field, else UTF-8 after a
    // byte-order mark; empty when the fields cannot be stored.
    std::string FormatProperties(const std::wstring& name) const;

private:
    std::wstring m_targetPath;
    std::wstring m_workingDirectory;
    std::wstring m_description;
    std::wstring m_arguments;
    int m_showCommand = 0;
};
