#include "steady_input.h"

#include <future>

#include "platform/win32/handles.h"

namespace e2e {

namespace {

inline void Unhook(HHOOK h) { UnhookWindowsHookEx(h); }
using unique_hhook = pigmora::win32::unique_handle<HHOOK, Unhook>;

LRESULT CALLBACK PassOn(int code, WPARAM w, LPARAM l) {
    return CallNextHookEx(nullptr, code, w, l);
}

}  // namespace

SteadyInput::SteadyInput() {
    std::promise<bool> ready;
    std::future<bool> installed = ready.get_future();
    thread_ = std::thread([this, &ready] {
        threadId_ = GetCurrentThreadId();
        unique_hhook hook(SetWindowsHookExW(WH_MOUSE_LL, PassOn, GetModuleHandleW(nullptr), 0));
        // The queue exists once a message call has been made: a quit posted now is kept.
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
        ready.set_value(static_cast<bool>(hook));
        if (!hook) return;
        // The hook is called from this thread's message retrieval.
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        }
    });
    installed_ = installed.get();
}

SteadyInput::~SteadyInput() {
    if (installed_) PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
}

}  // namespace e2e
