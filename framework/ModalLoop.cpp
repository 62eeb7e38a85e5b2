#include "framework/ModalLoop.h"

void RunModalLoop(const std::function<bool()>& ended, const std::function<BOOL(MSG*)>& preTranslate)
{
    MSG msg;
    while (!ended()) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!preTranslate(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}
