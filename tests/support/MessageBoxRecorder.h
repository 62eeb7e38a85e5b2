#pragma once
// Records every message box instead of showing it, and answers it.
#include "framework/MessageBox.h"
#include "framework/Services.h"

#include <deque>
#include <string>
#include <vector>

class CMessageBoxRecorder {
public:
    CMessageBoxRecorder();
    CMessageBoxRecorder(const CMessageBoxRecorder&) = delete;
    CMessageBoxRecorder& operator=(const CMessageBoxRecorder&) = delete;

    // Queues the answer of the next box; without one, a box is answered
    // with IDOK for OK boxes and with its non-destructive button otherwise.
    void Answer(int id) { m_answers.push_back(id); }

    const std::vector<MessageBoxRequest>& Boxes() const { return m_boxes; }
    std::vector<std::wstring> Texts() const;
    void Clear() { m_boxes.clear(); }

private:
    CServicesGuard m_services; // puts the real boxes back
    std::vector<MessageBoxRequest> m_boxes;
    std::deque<int> m_answers;
};
