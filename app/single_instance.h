#pragma once

#include <windows.h>

// The machine-wide marker of a running copy; the name's existence is the whole marker.
inline constexpr char SingleInstanceMutexName[] = "Global\\Norvik Deckhand";

// True when another copy holds the marker. Closes the handle the check opened at once.
bool AnotherCopyRuns();

// Tells a running copy to add its icon again, and the user that a copy is resident.
void ReportRunningCopy();

// Takes the marker for this copy; null when it could not be made. A marker that another copy
// made since the check counts as a running copy (anotherCopy): no handle to it is kept then, so
// that the marker goes with that copy.
HANDLE TakeSingleInstanceMarker(bool& anotherCopy);
