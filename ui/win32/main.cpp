#include <windows.h>

#include "platform/win32/win32_desktop.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return pigmora::win32::StartProgram(instance);
}
