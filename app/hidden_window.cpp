#include "app/hidden_window.h"

#include "tray/program_name.h"
#include "app/tray_window_proc.h"

#ifndef _WIN64
static_assert(sizeof(WNDCLASSEXA) == 48);
#endif

bool RegisterTrayWindowClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = TrayWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = ProgramName;
    return RegisterClassExA(&windowClass) != 0;
}

HWND CreateTrayWindow(HINSTANCE instance) {
    return CreateWindowExA(0, ProgramName, ProgramName, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                           nullptr);
}

void RunMessageLoop() {
    MSG message;
    // Stops on an error (-1) as well as on WM_QUIT, rather than spinning on a failing call.
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
