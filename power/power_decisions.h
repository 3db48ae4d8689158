#pragma once

#include <cstdint>

// What the resident copy does with the PC's power and session notifications.

// The power notifications acted on. Only the suspend and the resume from it are: the resume
// after a critical suspend, the automatic resume and the suspend query are not.
enum class PowerEvent { None, Suspend, Resume };
PowerEvent PowerEventOf(std::uintptr_t powerBroadcastParam);

// A cancelled session end leaves the unit alone: the user goes on working.
bool PowerOffAtSessionEnd(bool sessionEnds, bool keepPowerAtSessionEnd);
