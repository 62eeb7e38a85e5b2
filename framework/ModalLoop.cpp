#include "framework/ModalLoop.h"

#include "framework/ExceptionReport.h"

void RunModalLoop(const std::function<bool()>& ended, const std::function<BOOL(MSG*)>& preTranslate)
{
    MSG msg;
    while (!ended()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        BOOL handled = FALSE;
        try {
            handled = preTranslate(&msg);
        } catch (...) {
            ReportCurrentException();
            handled = TRUE;
        }
        if (!handled) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}
