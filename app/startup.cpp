// Where the process starts: the MinGW start-up's work that this program needs, and no more.
// MinGW's own start-up also installs TLS callbacks, applies pseudo-relocations, sets an
// exception filter and runs static constructors, none of which this program needs (the link
// fails if that ever changes: app/CMakeLists.txt). msvcrt itself splits the command line into
// __argc and __argv by the usual rules (white space, double quotes, double-byte characters),
// and its exit() runs the runtime's exit handlers and ends the process with WinMain's result.

#include <windows.h>

#include <cstdlib>

// msvcrt's start-up calls, which its headers do not declare.
extern "C" {
struct MsvcrtStartupInfo {
    int newMode;
};
__declspec(dllimport) int __cdecl __getmainargs(int* argc, char*** argv, char*** environment,
                                                int expandWildcards, MsvcrtStartupInfo* info);
__declspec(dllimport) void __cdecl __set_app_type(int type);
// The linker's name for the start of this module in memory: its instance handle.
extern IMAGE_DOS_HEADER __ImageBase;
}

namespace {
constexpr int MsvcrtGuiApp = 2;
constexpr int NoWildcardExpansion = 0;
} // namespace

// The program reads neither WinMain's command line nor its show command: an empty line and
// SW_SHOWDEFAULT stand in for them.
extern "C" void WinMainCRTStartup() {
    __set_app_type(MsvcrtGuiApp);
    int argc = 0;
    char** argv = nullptr;
    char** environment = nullptr;
    MsvcrtStartupInfo info{};
    __getmainargs(&argc, &argv, &environment, NoWildcardExpansion, &info);
    char noCommandLine[] = "";
    std::exit(WinMain(reinterpret_cast<HINSTANCE>(&__ImageBase), nullptr, noCommandLine,
                      SW_SHOWDEFAULT));
}
