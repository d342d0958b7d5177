// One window procedure for each window class: the object rides in the window.
#pragma once

#include <windows.h>

namespace pigmora::win32 {

// T provides LRESULT HandleMessage(HWND, UINT, WPARAM, LPARAM) and void OnDestroyed().
// The object is passed as the creation parameter and stored at WM_NCCREATE.
template <typename T>
class BaseWindow {
public:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(l);
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!self) return DefWindowProcW(window, message, w, l);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            LRESULT result = DefWindowProcW(window, message, w, l);
            self->OnDestroyed();
            return result;
        }
        return self->HandleMessage(window, message, w, l);
    }
};

}  // namespace pigmora::win32
