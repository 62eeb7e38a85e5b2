#include "tests/support/MessageBoxRecorder.h"

CMessageBoxRecorder::CMessageBoxRecorder()
{
    Services().messageBox = [this](const MessageBoxRequest& request) {
        m_boxes.push_back(request);
        if (!m_answers.empty()) {
            const int answer = m_answers.front();
            m_answers.pop_front();
            return answer;
        }
        switch (request.type & MB_TYPEMASK) {
        case MB_YESNO: return IDNO;
        case MB_OKCANCEL:
        case MB_YESNOCANCEL: return IDCANCEL;
        default: return IDOK;
        }
    };
}

std::vector<std::wstring> CMessageBoxRecorder::Texts() const
{
    std::vector<std::wstring> texts;
    for (const auto& box : m_boxes)
        texts.push_back(box.text);
    return texts;
}
