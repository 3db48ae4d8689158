#pragma once

#include <windows.h>

// One key or button event through SendInput. Wine now and then refuses an event with no
// reason given (SendInput returns 0 and the error is left over from before); a refused event
// is tried again for up to a second. Prints the error when it is given up.
bool SendOneInput(const INPUT& input);
