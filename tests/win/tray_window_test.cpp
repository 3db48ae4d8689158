// The hidden window's procedure in this process, with real messages, against the simulated
// unit: icon gestures, hotkeys, timers and the icon's coming and going.
#include "app/tray_window_proc.h"
#include "support/counted_pause.h"
#include "support/fake_tray_icon.h"
#include "support/mouse_buttons.h"
#include "support/program_runner.h"
#include "support/sim_fixture.h"
#include "tray/menu_model.h"
#include "tray/pointer_reading.h"
#include "tray/tray_handlers.h"
#include "tray/tray_icons.h"
#include "tray/tray_messages.h"
#include "tray/tray_state.h"
#include "unit/command_code.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

namespace {

using Codes = std::vector<std::uint32_t>;

constexpr char TestClassName[] = "DeckhandTrayWindowTest";
// Fifty periods of the 100 ms volume and drag timers.
constexpr DWORD TimerWaitMs = 5000;

// The pointer as the system reports it while the secure desktop shows: GetCursorPos fails.
class CursorUnknown {
public:
    CursorUnknown() : before_(std::exchange(pointerReader, [] { return PointerReading{}; })) {}
    ~CursorUnknown() { pointerReader = before_; }
    CursorUnknown(const CursorUnknown&) = delete;
    CursorUnknown& operator=(const CursorUnknown&) = delete;

private:
    PointerReading (*before_)();
};

class TrayWindowTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        trayState = TrayState{};
        trayState.instance = GetModuleHandleA(nullptr);
        TrayIconCalls().clear();
        static const bool registered = [] {
            WNDCLASSEXA windowClass = {};
            windowClass.cbSize = sizeof(windowClass);
            windowClass.lpfnWndProc = TrayWindowProc;
            windowClass.hInstance = GetModuleHandleA(nullptr);
            windowClass.lpszClassName = TestClassName;
            return RegisterClassExA(&windowClass) != 0;
        }();
        ASSERT_TRUE(registered);
        Change([](SimUnitState& s) {
            s.powerOn = 1;
            s.volume = 40;
            s.source = 2;
        });
    }

    void TearDown() override {
        if (window_ != nullptr) {
            DestroyWindow(window_);
        }
        Pump(0);
        SimTest::TearDown();
    }

    void Create() {
        window_ = CreateWindowExA(0, TestClassName, "", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
    }

    // Created, with the log and the icon calls of the creation put aside.
    void CreateQuietly() {
        Create();
        TakeLog();
        TrayIconCalls().clear();
    }

    // Handles this thread's messages (timers among them) for ms milliseconds.
    static void Pump(DWORD ms) {
        const DWORD start = GetTickCount();
        do {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message != WM_QUIT) {
                    TranslateMessage(&message);
                    DispatchMessageA(&message);
                }
            }
            if (ms > 0) {
                Sleep(10);
            }
        } while (GetTickCount() - start < ms);
    }

    // Handles this thread's messages until done() holds, for at most timeoutMs: a wait for a
    // timer's work ends as soon as the timer has fired, however late a busy machine fires it.
    template <typename Done> static bool PumpUntil(Done done, DWORD timeoutMs = TimerWaitMs) {
        const DWORD start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start >= timeoutMs) {
                return false;
            }
            Pump(10);
        }
        return true;
    }
    static bool PumpUntilVolumeStepDone() {
        return PumpUntil([] { return !trayState.volumeKeyPending; });
    }

    LRESULT Icon(UINT mouseMessage) {
        return SendMessageA(window_, TrayCallbackMsg, 0, mouseMessage);
    }
    void Hotkey(int id) { SendMessageA(window_, WM_HOTKEY, id, 0); }

    HWND window_ = nullptr;
};

TEST_F(TrayWindowTest, CreationAddsTheIconAndShowsTheUnitAtOnce) {
    Create();
    EXPECT_EQ(trayState.window, window_);
    ASSERT_EQ(TrayIconCalls().size(), 2u);
    EXPECT_EQ(TrayIconCalls()[0].kind, TrayIconCall::Add);
    EXPECT_EQ(LastIconResource(), PowerOnIcon);
    EXPECT_EQ(LastTooltipSuffix(), " Vol=40\n[MD Input= 0]");
    EXPECT_EQ(CountKind(TakeLog(), SimLogRead), 1u);
    // The five hotkeys are this window's now.
    for (auto [id, key] : {std::pair{HotkeyVolumeUp, VK_UP},
                           {HotkeyVolumeDown, VK_DOWN},
                           {HotkeyCdPlayStop, VK_NUMPAD5},
                           {HotkeyCdPrev, VK_NUMPAD4},
                           {HotkeyCdNext, VK_NUMPAD6}}) {
        EXPECT_FALSE(RegisterHotKey(nullptr, 100 + id, MOD_CONTROL | MOD_ALT, key)) << id;
    }
    DestroyWindow(window_);
    window_ = nullptr;
    EXPECT_EQ(TrayIconCalls().back().kind, TrayIconCall::Remove);
    for (auto [id, key] : {std::pair{HotkeyVolumeUp, VK_UP}, {HotkeyCdNext, VK_NUMPAD6}}) {
        EXPECT_TRUE(RegisterHotKey(nullptr, 100 + id, MOD_CONTROL | MOD_ALT, key)) << id;
        UnregisterHotKey(nullptr, 100 + id);
    }
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(TrayWindowTest, EveryIconMouseMessageReturnsOne) {
    CreateQuietly();
    for (UINT mouse : {UINT{WM_MOUSEMOVE}, UINT{WM_LBUTTONUP}, UINT{WM_RBUTTONDOWN},
                       UINT{WM_RBUTTONUP}, UINT{WM_RBUTTONDBLCLK}, UINT{WM_MBUTTONDOWN}, 0x9999u}) {
        EXPECT_EQ(Icon(mouse), 1) << mouse;
    }
    EXPECT_TRUE(Commands(TakeLog()).empty());
}

TEST_F(TrayWindowTest, DoubleClickTogglesPowerAndRefreshes) {
    CreateQuietly();
    Change([](SimUnitState& s) { s.powerOn = 0; });
    SetCursorPos(300, 300);
    // How a double click arrives: down, up, double click, up.
    EXPECT_EQ(Icon(WM_LBUTTONDOWN), 1);
    Pump(150);
    EXPECT_EQ(Icon(WM_LBUTTONUP), 1);
    EXPECT_EQ(Icon(WM_LBUTTONDBLCLK), 1);
    EXPECT_EQ(Icon(WM_LBUTTONUP), 1);
    Pump(150);
    const Codes sent = Commands(TakeLog());
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), PowerOn) << CommandList(sent);
    // The drag between press and release only sets the unchanged volume again.
    for (std::size_t i = 0; i + 1 < sent.size(); ++i) {
        EXPECT_EQ(sent[i], NumberedCommand(SetVolume, 40)) << CommandList(sent);
    }
    EXPECT_EQ(State().powerOn, 1);
    EXPECT_EQ(LastIconResource(), PowerOnIcon);
    EXPECT_FALSE(trayState.dragging);

    EXPECT_EQ(Icon(WM_LBUTTONDBLCLK), 1);
    EXPECT_EQ(Commands(TakeLog()), (Codes{PowerOff}));
    EXPECT_EQ(LastIconResource(), PowerOffIcon);
}

TEST_F(TrayWindowTest, MiddleClickTogglesMute) {
    CreateQuietly();
    EXPECT_EQ(Icon(WM_MBUTTONUP), 1);
    EXPECT_EQ(Commands(TakeLog()), (Codes{MuteToggle}));
    EXPECT_TRUE(trayState.muted);
    EXPECT_EQ(LastTooltipSuffix(), " <MUTE>\n[MD Input= 0]");
}

TEST_F(TrayWindowTest, VolumeHotkeysStepOncePerTimerPeriod) {
    struct Case {
        int volume;
        std::vector<int> keys;
        std::uint32_t sent;
        std::int32_t icon;
    };
    const Case cases[] = {
        {40, {HotkeyVolumeUp}, 41, 15},
        {40, {HotkeyVolumeDown}, 39, 14},
        {80, {HotkeyVolumeUp}, 80, 18},
        {0, {HotkeyVolumeDown}, 0, 10},
        // While one step is pending, further presses of either key are dropped.
        {40, {HotkeyVolumeDown, HotkeyVolumeUp, HotkeyVolumeUp, HotkeyVolumeDown}, 39, 14},
    };
    CreateQuietly();
    for (const Case& c : cases) {
        Change([&](SimUnitState& s) { s.volume = static_cast<std::uint8_t>(c.volume); });
        TakeLog();
        for (int key : c.keys) {
            Hotkey(key);
        }
        EXPECT_TRUE(trayState.volumeKeyPending);
        EXPECT_TRUE(Commands(TakeLog()).empty()) << "sent before the timer";
        EXPECT_TRUE(PumpUntilVolumeStepDone());
        EXPECT_EQ(Commands(TakeLog()), (Codes{NumberedCommand(SetVolume, c.sent)})) << c.volume;
        EXPECT_EQ(LastIconResource(), c.icon);
        EXPECT_EQ(LastTooltipSuffix(), "Volume");
    }
    // After the step, the next press is taken.
    Hotkey(HotkeyVolumeUp);
    EXPECT_TRUE(PumpUntilVolumeStepDone());
    EXPECT_EQ(Commands(TakeLog()), (Codes{NumberedCommand(SetVolume, 40)}));
}

TEST_F(TrayWindowTest, VolumeStepSendsNothingWhenTheStatusCannotBeRead) {
    CreateQuietly();
    Hotkey(HotkeyVolumeUp);
    TakeLog();
    TrayIconCalls().clear();
    ASSERT_TRUE(sim.FailNext(1));
    EXPECT_TRUE(PumpUntilVolumeStepDone());
    EXPECT_TRUE(Commands(TakeLog()).empty());
    EXPECT_TRUE(TrayIconCalls().empty());
    Hotkey(HotkeyVolumeUp); // taken again: the timer was killed
    EXPECT_TRUE(PumpUntilVolumeStepDone());
    EXPECT_EQ(Commands(TakeLog()), (Codes{NumberedCommand(SetVolume, 41)}));
}

TEST_F(TrayWindowTest, CdHotkeysByDiscAndPlayState) {
    struct Case {
        const char* name;
        bool disc;
        std::uint8_t cdState;
        int key;
        Codes sent;
        std::int32_t icon; // 0: the icon is left alone
        const char* suffix;
    };
    const Case cases[] = {
        {"play/stop while playing", true, SimCdPlaying, HotkeyCdPlayStop, {CdStop}, 111, "CD Stop"},
        {"play/stop while stopped",
         true,
         SimCdStopped,
         HotkeyCdPlayStop,
         {CdPlayPause},
         112,
         "CD Play"},
        {"play/stop while paused",
         true,
         SimCdPaused,
         HotkeyCdPlayStop,
         {CdPlayPause},
         112,
         "CD Play"},
        {"play/stop without disc", false, SimCdStopped, HotkeyCdPlayStop, {}, 0, ""},
        {"previous", true, SimCdPlaying, HotkeyCdPrev, {CdPrev}, 113, "CD Prev"},
        {"next", false, SimCdStopped, HotkeyCdNext, {CdNext}, 114, "CD Next"},
        {"unknown id", true, SimCdPlaying, 99, {}, 0, ""},
    };
    CreateQuietly();
    for (const Case& c : cases) {
        Change([&](SimUnitState& s) {
            s.source = 3; // the CD keys act whatever the source
            s.discPresent = c.disc;
            s.trackCount = c.disc ? 12 : 0;
            s.track = c.disc ? 5 : 0;
            s.cdState = c.cdState;
        });
        TakeLog();
        TrayIconCalls().clear();
        Hotkey(c.key);
        const std::vector<SimLogEntry> log = TakeLog();
        EXPECT_EQ(Commands(log), c.sent) << c.name;
        EXPECT_EQ(CountKind(log, SimLogRead), 1u) << c.name;
        EXPECT_EQ(LastIconResource(), c.icon) << c.name;
        EXPECT_EQ(LastTooltipSuffix(), c.suffix) << c.name;
    }
}

TEST_F(TrayWindowTest, DragSetsTheVolumeFromTheCursor) {
    CreateQuietly();
    ASSERT_TRUE(SetCursorPos(400, 300));
    HeldMouseButton button(HeldMouseButton::Left);
    ASSERT_TRUE(button.Held());
    EXPECT_EQ(Icon(WM_LBUTTONDOWN), 1);
    EXPECT_TRUE(trayState.dragging);
    EXPECT_EQ(trayState.dragStartVolume, 40);
    struct Step {
        int x, y;
        std::uint32_t volume;
        std::int32_t icon;
    };
    for (const Step& step : {Step{430, 300, 50, 15}, Step{430, 330, 40, 14}, Step{397, 300, 39, 14},
                             Step{600, 300, 80, 18}, Step{0, 300, 0, 10}}) {
        ASSERT_TRUE(SetCursorPos(step.x, step.y));
        TakeLog();
        const std::string shown = " Vol:" + std::to_string(step.volume);
        EXPECT_TRUE(PumpUntil([&] { return LastTooltipSuffix() == shown; })) << "no tick";
        const Codes sent = Commands(TakeLog());
        ASSERT_FALSE(sent.empty()) << "no tick";
        for (std::uint32_t code : sent) {
            EXPECT_EQ(code, NumberedCommand(SetVolume, step.volume)) << step.x << "," << step.y;
        }
        EXPECT_EQ(trayState.dragVolume, static_cast<std::int32_t>(step.volume));
        EXPECT_EQ(LastIconResource(), step.icon);
        EXPECT_EQ(LastTooltipSuffix(), " Vol:" + std::to_string(step.volume));
    }
    // The five-second refresh holds back while the drag lasts.
    SendMessageA(window_, WM_TIMER, RefreshTimer, 0);
    const std::vector<SimLogEntry> duringDrag = TakeLog();
    EXPECT_EQ(CountKind(duringDrag, SimLogRead), 0u);
    EXPECT_EQ(Icon(WM_LBUTTONUP), 1);
    EXPECT_FALSE(trayState.dragging);
    TakeLog();
    Pump(250);
    EXPECT_TRUE(Commands(TakeLog()).empty());
    SendMessageA(window_, WM_TIMER, RefreshTimer, 0);
    EXPECT_EQ(CountKind(TakeLog(), SimLogRead), 1u);
    EXPECT_EQ(LastIconResource(), PowerOnIcon);
}

// The release may never reach the icon (let go away from it, or the shell restarted meanwhile):
// a tick that finds the logical left button up ends the drag as the release would have.
TEST_F(TrayWindowTest, DragEndsOnceTheLeftButtonIsUp) {
    struct Case {
        const char* name;
        bool swapped;
        std::optional<HeldMouseButton::Button> held;
        bool goesOn;
    };
    const Case cases[] = {
        {"no button held", false, std::nullopt, false},
        {"left button held", false, HeldMouseButton::Left, true},
        // Swapped, the physical right button is the logical left one.
        {"swapped, physical left held", true, HeldMouseButton::Left, false},
        {"swapped, physical right held", true, HeldMouseButton::Right, true},
    };
    CreateQuietly();
    for (const Case& c : cases) {
        MouseButtonsSwapped swap(c.swapped);
        ASSERT_TRUE(SetCursorPos(430, 300));
        std::optional<HeldMouseButton> button;
        if (c.held) {
            button.emplace(*c.held);
            ASSERT_TRUE(button->Held()) << c.name;
        }
        TrayIconCalls().clear();
        EXPECT_EQ(Icon(WM_LBUTTONDOWN), 1);
        ASSERT_TRUE(trayState.dragging) << c.name;
        TakeLog();
        if (c.goesOn) {
            EXPECT_TRUE(PumpUntil([] { return LastTooltipSuffix() == " Vol:40"; })) << c.name;
            EXPECT_TRUE(trayState.dragging) << c.name;
            EXPECT_EQ(Icon(WM_LBUTTONUP), 1);
        } else {
            EXPECT_TRUE(PumpUntil([] { return !trayState.dragging; })) << c.name;
            // The periodic refresh may come in now that the drag is over; a drag picture may not.
            for (const TrayIconCall& call : TrayIconCalls()) {
                EXPECT_EQ(call.suffix.rfind(" Vol:", 0), std::string::npos) << c.name;
            }
        }
        const std::vector<SimLogEntry> log = TakeLog();
        for (std::uint32_t code : Commands(log)) {
            EXPECT_EQ(code, NumberedCommand(SetVolume, 40)) << c.name;
        }
        EXPECT_EQ(Commands(log).empty(), !c.goesOn) << c.name;
        // Over, the drag no longer holds back the periodic refresh.
        SendMessageA(window_, WM_TIMER, RefreshTimer, 0);
        EXPECT_EQ(CountKind(TakeLog(), SimLogRead), 1u) << c.name;
    }
}

TEST_F(TrayWindowTest, DragDoesNotStartWithoutTheUnitsVolumeOrTheCursorPosition) {
    CreateQuietly();
    for (const bool volumeKnown : {false, true}) {
        std::optional<CursorUnknown> cursor;
        if (volumeKnown) {
            cursor.emplace();
        } else {
            ASSERT_TRUE(sim.FailNext(1));
        }
        EXPECT_EQ(Icon(WM_LBUTTONDOWN), 1);
        EXPECT_FALSE(trayState.dragging) << volumeKnown;
        Pump(250);
        EXPECT_TRUE(Commands(TakeLog()).empty()) << volumeKnown;
    }
}

// A timer procedure is CALLBACK (stdcall on i686), which a lambda does not convert to.
bool popupShown;
void CALLBACK ClosePopup(HWND, UINT, UINT_PTR, DWORD) {
    popupShown = true;
    EndMenu();
}

TEST_F(TrayWindowTest, RightClickWithoutTheCursorPositionShowsNoPopup) {
    CreateQuietly();
    CursorUnknown cursor;
    // The program's menu resource, so that a popup would really open; this test program has none.
    HMODULE program = LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    trayState.instance = program;
    // A popup, had one opened, would be closed by this timer: its modal loop dispatches the tick.
    popupShown = false;
    const UINT_PTR closer = SetTimer(nullptr, 0, 1000, ClosePopup);
    EXPECT_EQ(Icon(WM_RBUTTONUP), 1);
    KillTimer(nullptr, closer);
    trayState.instance = GetModuleHandleA(nullptr);
    FreeLibrary(program);
    EXPECT_FALSE(popupShown);
    EXPECT_EQ(CountKind(TakeLog(), SimLogRead), 1u) << "the refresh before the popup";
    EXPECT_EQ(trayState.numberSubmenu, nullptr);
}

// The refresh before the popup waits on the shell, and meanwhile the thread may handle another
// right click: that one opens no popup of its own.
TEST_F(TrayWindowTest, RightClickDuringTheRefreshBeforeThePopupIsIgnored) {
    CreateQuietly();
    CursorUnknown cursor; // no popup opens at all: the refreshes tell the two clicks apart
    OnTrayIconSet() = [this] {
        OnTrayIconSet() = nullptr;
        EXPECT_EQ(Icon(WM_RBUTTONUP), 1);
    };
    EXPECT_EQ(Icon(WM_RBUTTONUP), 1);
    OnTrayIconSet() = nullptr;
    EXPECT_EQ(CountKind(TakeLog(), SimLogRead), 1u) << "the second click refreshed for a popup";
    EXPECT_EQ(trayState.numberSubmenu, nullptr);
}

// The unit gets its pause to act on a menu command before the refresh reads its status.
TEST_F(TrayWindowTest, MenuCommandPausesBeforeItsRefresh) {
    CreateQuietly();
    const std::size_t before = MenuRefreshPauses();
    std::size_t pausesAtRefresh = 0;
    OnTrayIconSet() = [&] { pausesAtRefresh = MenuRefreshPauses() - before; };
    SendMessageA(window_, WM_COMMAND, MuteItem, 0);
    OnTrayIconSet() = nullptr;
    EXPECT_EQ(Commands(TakeLog()), (Codes{MuteToggle}));
    EXPECT_EQ(pausesAtRefresh, 1u);
    EXPECT_EQ(LastTooltipSuffix(), " <MUTE>\n[MD Input= 0]") << "refreshed";
}

TEST_F(TrayWindowTest, IconAddedAgainOnRequestAndAfterTaskbarRestart) {
    CreateQuietly();
    for (UINT message : {TrayAddMsg, RegisterWindowMessageA("TaskbarCreated")}) {
        TrayIconCalls().clear();
        SendMessageA(window_, message, 0, 0);
        ASSERT_EQ(TrayIconCalls().size(), 2u) << message;
        EXPECT_EQ(TrayIconCalls()[0].kind, TrayIconCall::Add);
        EXPECT_EQ(LastIconResource(), PowerOnIcon);
        EXPECT_EQ(CountKind(TakeLog(), SimLogRead), 1u);
    }
    TrayIconCalls().clear();
    SendMessageA(window_, TrayRemoveMsg, 0, 0);
    ASSERT_EQ(TrayIconCalls().size(), 1u);
    EXPECT_EQ(TrayIconCalls()[0].kind, TrayIconCall::Remove);
}

// A change of display or of the taskbar's colours shows the picture shown now again, in the
// look chosen anew, and sends the unit nothing; other settings change nothing.
TEST_F(TrayWindowTest, TaskbarChangesShowThePictureAgain) {
    CreateQuietly();
    EXPECT_GT(trayState.iconLook.size, 0) << "chosen when the icon was added";
    struct ChangeCase {
        UINT message;
        const char* setting;
        bool shownAgain;
    };
    const ChangeCase cases[] = {
        {WM_SETTINGCHANGE, "ImmersiveColorSet", true}, {WM_SETTINGCHANGE, "Environment", false},
        {WM_SETTINGCHANGE, nullptr, false},            {WM_DISPLAYCHANGE, nullptr, true},
        {DpiChangedMsg, nullptr, true},
    };
    for (const ChangeCase& c : cases) {
        TrayIconCalls().clear();
        trayState.iconLook = {};
        SendMessageA(window_, c.message, 0, reinterpret_cast<LPARAM>(c.setting));
        ASSERT_EQ(TrayIconCalls().size(), c.shownAgain ? 1u : 0u) << c.message;
        EXPECT_TRUE(!c.shownAgain || TrayIconCalls()[0].kind == TrayIconCall::ShowAgain);
        EXPECT_EQ(trayState.iconLook.size > 0, c.shownAgain) << c.message;
        EXPECT_TRUE(TakeLog().empty());
    }
}

TEST_F(TrayWindowTest, WithoutIconOnlyTheHotkeysWork) {
    trayState.noTrayIcon = true;
    Create();
    EXPECT_TRUE(TrayIconCalls().empty());
    EXPECT_TRUE(TakeLog().empty());
    EXPECT_EQ(Icon(WM_MBUTTONUP), 0);
    EXPECT_EQ(Icon(WM_LBUTTONDOWN), 0);
    EXPECT_FALSE(trayState.dragging);
    SendMessageA(window_, TrayAddMsg, 0, 0);
    SendMessageA(window_, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    SendMessageA(window_, WM_DISPLAYCHANGE, 0, 0);
    EXPECT_TRUE(TrayIconCalls().empty());
    Hotkey(HotkeyCdNext);
    Hotkey(HotkeyVolumeUp);
    EXPECT_TRUE(PumpUntilVolumeStepDone());
    EXPECT_EQ(Commands(TakeLog()), (Codes{CdNext, NumberedCommand(SetVolume, 41)}));
    DestroyWindow(window_);
    window_ = nullptr;
    EXPECT_EQ(TrayIconCalls().size(), 2u); // the two SetTrayIcon calls of the hotkeys, no Remove
}

} // namespace
