#include "support/fake_tray_icon.h"

#include "tray/tray_icon.h"
#include "tray/tray_icons.h"

std::vector<TrayIconCall>& TrayIconCalls() {
    static std::vector<TrayIconCall> calls;
    return calls;
}

std::function<void()>& OnTrayIconSet() {
    static std::function<void()> hook;
    return hook;
}

std::int32_t LastIconResource() {
    for (auto call = TrayIconCalls().rbegin(); call != TrayIconCalls().rend(); ++call) {
        if (call->kind == TrayIconCall::Set) {
            return IconResourceOfIndex(call->iconIndex);
        }
    }
    return 0;
}

std::string LastTooltipSuffix() {
    for (auto call = TrayIconCalls().rbegin(); call != TrayIconCalls().rend(); ++call) {
        if (call->kind == TrayIconCall::Set) {
            return call->suffix;
        }
    }
    return "";
}

void AddTrayIcon() {
    TrayIconCalls().push_back({TrayIconCall::Add, 0, ""});
}

void RemoveTrayIcon() {
    TrayIconCalls().push_back({TrayIconCall::Remove, 0, ""});
}

void ShowTrayIconAgain() {
    TrayIconCalls().push_back({TrayIconCall::ShowAgain, 0, ""});
}

void SetTrayIcon(std::int32_t iconIndex, const char* suffix) {
    TrayIconCalls().push_back({TrayIconCall::Set, iconIndex, suffix});
    // A copy: the hook may replace itself.
    if (const std::function<void()> hook = OnTrayIconSet()) {
        hook();
    }
}
