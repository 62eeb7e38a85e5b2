#pragma once
// The record from which a command's shortcut file and properties file are
// written.
#include "catalogue/CommandLimits.h"

#include <string>

class CShortcut {
public:
    void SetTargetPath(const std::string& path) { m_targetPath = path; }
    void SetWorkingDirectory(const std::string& dir) { m_workingDirectory = dir; }
    void SetDescription(const std::string& text) { m_description = text; }
    void SetArguments(const std::string& args) { m_arguments = args; }
    void SetShowCommand(int showCommand) { m_showCommand = showCommand; }

    // Writes the shell link and shows nothing; false on failure, with the
    // user's text in `message` when COM could not start or the save failed.
    bool WriteLink(const std::string& linkPath, std::string& message) const;
    // Writes the four-line properties file; shows nothing.
    bool WriteProperties(const std::string& propertiesPath, const std::string& name) const;

    // The properties file's bytes, as WriteProperties writes them.
    std::string FormatProperties(const std::string& name) const;

private:
    std::string m_targetPath;
    std::string m_workingDirectory;
    std::string m_description;
    std::string m_arguments;
    int m_showCommand = 0;
};
