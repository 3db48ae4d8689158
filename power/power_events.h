#pragma once

#include <windows.h>

class UnitLink;

// The PC's power and session notifications, as the hidden window receives them; link is the
// window procedure's own, unopened.
void HandlePowerBroadcast(WPARAM event, UnitLink& link);
void HandleSuspend(UnitLink& link);
void HandleResume(UnitLink& link);
void HandleSessionEnd(WPARAM sessionEnds, UnitLink& link);

// Once, after the message loop has ended.
void DeleteMixerSnapshot();
