#pragma once

#include <windows.h>

// A physical mouse button held through SendInput, at the cursor's position, as a hand holds it:
// GetAsyncKeyState sees it down until the object goes.
class HeldMouseButton {
public:
    enum Button { Left, Right };
    explicit HeldMouseButton(Button button);
    ~HeldMouseButton();
    HeldMouseButton(const HeldMouseButton&) = delete;
    HeldMouseButton& operator=(const HeldMouseButton&) = delete;

    bool Held() const { return held_; }

private:
    Button button_;
    bool held_ = false;
};

// The mouse buttons swapped (or not) for as long as the object lives; the setting is the
// whole session's, so it is put back.
class MouseButtonsSwapped {
public:
    explicit MouseButtonsSwapped(bool swapped) : before_(SwapMouseButton(swapped)) {}
    ~MouseButtonsSwapped() { SwapMouseButton(before_); }
    MouseButtonsSwapped(const MouseButtonsSwapped&) = delete;
    MouseButtonsSwapped& operator=(const MouseButtonsSwapped&) = delete;

private:
    BOOL before_;
};
