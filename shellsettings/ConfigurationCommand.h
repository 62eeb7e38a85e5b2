#pragma once
// The main window's Options, "Configuration..." command: the sheet, modal,
// owned by the frame.
#include "framework/PageHost.h"

class CConfigurationCommand {
public:
    explicit CConfigurationCommand(IPageHost& host) : m_host(host) {}

    void ShowConfiguration() const;

private:
    IPageHost& m_host;
};
