// benchfloor: the least a Win32 program does for what NorvikDeckhand.exe does, as the floors of
// scripts/bench.
//
//     benchfloor write N    find the unit, open it, N times (one 51-byte write, 50 ms), close
//     benchfloor read       find the unit, open it, one 32-byte status read, close
//     benchfloor start      what the program does from its start to its first status refresh,
//                           at the least: a hidden window, the program's five hotkeys and a
//                           tray icon, then "read"; then it takes them away and ends
//     benchfloor resident   a hidden window, a tray icon and a 5 s timer whose tick reads the
//                           status as "read" does, from the first unit rather than the last,
//                           so that its entries in the driver's log are told from the
//                           program's; ends on WM_CLOSE
//
// write, read and start print "transferred MS": the counter (counter_ms.h) just after the first
// transfer, which the driver has logged by then. Exit codes: 0 done, 1 no unit, 2 usage.

#include "tests/tools/counter_ms.h"
#include "unit/command_packet.h"
#include "unit/transfer_header.h"
#include "unit/unit_device.h"

#include <windows.h>

#include <setupapi.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr char WindowName[] = "benchfloor";
constexpr UINT TickMs = 5000;
constexpr UINT IconId = 1;
constexpr DWORD PauseAfterWriteMs = 50;
// With Ctrl+Alt, as the program registers them.
constexpr UINT HotkeyKeys[] = {VK_UP, VK_DOWN, VK_NUMPAD5, VK_NUMPAD4, VK_NUMPAD6};

HANDLE OpenUnit(bool first) {
    HDEVINFO set = SetupDiGetClassDevsA(&UnitInterfaceGuid, nullptr, nullptr,
                                        DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) {
        return INVALID_HANDLE_VALUE;
    }
    SP_DEVICE_INTERFACE_DATA found = {};
    bool any = false;
    for (DWORD index = 0; index < 10 && !(first && any); ++index) {
        SP_DEVICE_INTERFACE_DATA data = {};
        data.cbSize = sizeof(data);
        if (!SetupDiEnumDeviceInterfaces(set, nullptr, &UnitInterfaceGuid, index, &data)) {
            break;
        }
        found = data;
        any = true;
    }
    HANDLE device = INVALID_HANDLE_VALUE;
    union {
        SP_DEVICE_INTERFACE_DETAIL_DATA_A detail;
        char bytes[512];
    } path = {};
    path.detail.cbSize = sizeof(path.detail);
    if (any && SetupDiGetDeviceInterfaceDetailA(set, &found, &path.detail, sizeof(path), nullptr,
                                                nullptr)) {
        device = CreateFileA(path.detail.DevicePath, 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    SetupDiDestroyDeviceInfoList(set);
    return device;
}

void WriteCommand(HANDLE unit) {
    std::uint8_t block[TransferHeaderSize + CommandPacketSize];
    std::memcpy(block, MakeTransferHeader(false).bytes, TransferHeaderSize);
    std::uint8_t packet[CommandPacketSize];
    EncodeCommandPacket(SetVolume + 40, packet);
    std::memcpy(block + TransferHeaderSize, packet, CommandPacketSize);
    std::uint8_t reply[WriteReplySize];
    DWORD returned = 0;
    DeviceIoControl(unit, UnitTransferIoctl, block, sizeof(block), reply, sizeof(reply), &returned,
                    nullptr);
}

void ReadStatus(HANDLE unit) {
    TransferHeader header = MakeTransferHeader(true);
    std::uint8_t answer[ReadPrefixSize + CommandPacketSize];
    DWORD returned = 0;
    DeviceIoControl(unit, UnitTransferIoctl, header.bytes, sizeof(header.bytes), answer,
                    sizeof(answer), &returned, nullptr);
}

void ReadFirstUnit() {
    HANDLE unit = OpenUnit(true);
    if (unit != INVALID_HANDLE_VALUE) {
        ReadStatus(unit);
        CloseHandle(unit);
    }
}

NOTIFYICONDATAA IconData(HWND window) {
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = IconId;
    return data;
}

LRESULT CALLBACK FloorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        SetTimer(window, 0, TickMs, nullptr);
        NOTIFYICONDATAA data = IconData(window);
        data.uFlags = NIF_ICON | NIF_TIP;
        data.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
        std::snprintf(data.szTip, sizeof(data.szTip), "%s", WindowName);
        Shell_NotifyIconA(NIM_ADD, &data);
    } else if (message == WM_TIMER) {
        ReadFirstUnit();
    } else if (message == WM_DESTROY) {
        NOTIFYICONDATAA data = IconData(window);
        Shell_NotifyIconA(NIM_DELETE, &data);
        PostQuitMessage(0);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A hidden window, as the program's.
HWND MakeWindow(WNDPROC procedure) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = WindowName;
    if (!RegisterClassA(&windowClass)) {
        return nullptr;
    }
    return CreateWindowA(WindowName, WindowName, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                         windowClass.hInstance, nullptr);
}

int Start() {
    HWND window = MakeWindow(DefWindowProcA);
    if (window == nullptr) {
        return 1;
    }
    for (UINT i = 0; i < sizeof(HotkeyKeys) / sizeof(HotkeyKeys[0]); ++i) {
        RegisterHotKey(window, static_cast<int>(i + 1), MOD_CONTROL | MOD_ALT, HotkeyKeys[i]);
    }
    NOTIFYICONDATAA data = IconData(window);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_APP;
    data.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    std::snprintf(data.szTip, sizeof(data.szTip), "%s", WindowName);
    Shell_NotifyIconA(NIM_ADD, &data);
    HANDLE unit = OpenUnit(false);
    if (unit != INVALID_HANDLE_VALUE) {
        ReadStatus(unit);
        std::printf("transferred %.3f\n", CounterMs());
        CloseHandle(unit);
    }
    Shell_NotifyIconA(NIM_DELETE, &data);
    for (UINT i = 0; i < sizeof(HotkeyKeys) / sizeof(HotkeyKeys[0]); ++i) {
        UnregisterHotKey(window, static_cast<int>(i + 1));
    }
    DestroyWindow(window);
    return unit == INVALID_HANDLE_VALUE ? 1 : 0;
}

int Resident() {
    if (MakeWindow(FloorWindowProc) == nullptr) {
        return 1;
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const bool write = argc == 3 && std::strcmp(argv[1], "write") == 0;
    const bool read = argc == 2 && std::strcmp(argv[1], "read") == 0;
    if (argc == 2 && std::strcmp(argv[1], "resident") == 0) {
        return Resident();
    }
    if (argc == 2 && std::strcmp(argv[1], "start") == 0) {
        return Start();
    }
    if (!write && !read) {
        std::fprintf(stderr, "usage: benchfloor write N | read | start | resident\n");
        return 2;
    }
    HANDLE unit = OpenUnit(false);
    if (unit == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "benchfloor: no unit\n");
        return 1;
    }
    const int writes = write ? std::atoi(argv[2]) : 0;
    if (read) {
        ReadStatus(unit);
        std::printf("transferred %.3f\n", CounterMs());
    }
    for (int i = 0; i < writes; ++i) {
        WriteCommand(unit);
        if (i == 0) {
            std::printf("transferred %.3f\n", CounterMs());
        }
        Sleep(PauseAfterWriteMs);
    }
    CloseHandle(unit);
    return 0;
}
