#pragma once
// The command files a fill of My Commands could not read: one file gets a
// box as before; several get one window with a scrolling list, so that a
// damaged Cmds folder does not mean one box per file before the window.
#include "framework/Dialog.h"

#include <string>
#include <vector>

class CFileProblemsDlg : public CDialog {
public:
    CFileProblemsDlg(std::vector<std::wstring> problems, HWND parent);

    BOOL OnInitDialog() override;

private:
    std::vector<std::wstring> m_problems;
};

// Shows the problems of one fill, if any, as one message.
void ReportUnreadableCommandFiles(const std::vector<std::wstring>& problems, HWND parent);
