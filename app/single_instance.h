#pragma once

#include <windows.h>

// The machine-wide marker of a running copy; the name's existence is the whole marker.
inline constexpr char SingleInstanceMutexName[] = "Global\\Norvik Deckhand";

// True when another copy holds the marker. Closes the handle the check opened at once.
bool AnotherCopyRuns();

// Tells a running copy to add its icon again, and the user that a copy is resident.
void ReportRunningCopy();

// Takes the marker for this copy; null when it could not be made. A marker that another copy
// made in the meantime counts as a running copy (alreadyExists).
HANDLE CreateSingleInstanceMutex(bool& alreadyExists);
