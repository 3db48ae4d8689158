#pragma once

#include "unit/command_code.h"
#include "unit/unit_status.h"

#include <windows.h>

// What SetPower is asked for; any other value sends nothing.
constexpr std::uint8_t PowerWantedOff = 0;
constexpr std::uint8_t PowerWantedOn = 1;

// One link to the unit's driver for one piece of work: made as a local object, opened on first
// need, closed when the work ends. handle is INVALID_HANDLE_VALUE while unopened (never opened,
// or the last open failed), a driver handle while open, and 0 once closed; a closed link is
// never reopened.
class UnitLink {
public:
    UnitLink() = default;
    virtual ~UnitLink();
    UnitLink(const UnitLink&) = delete;
    UnitLink& operator=(const UnitLink&) = delete;

    bool EnsureOpen();
    void Close();
    bool IsOpen() const;

    // Needs a link that the caller opened; pauses 50 ms after a command the driver accepted.
    bool SendCommand(std::uint32_t code);
    // These open an unopened link for themselves and close it again afterwards.
    // TogglePower puts the code the driver accepted, or 0, into *sent when it is given.
    bool TogglePower(std::uint32_t* sent = nullptr);
    // True when the driver accepted the command.
    bool ToggleMute();
    bool SetPower(std::uint8_t wanted);
    bool SetVolumeLevel(int volume);
    void SelectInput(unsigned input);

    // Never opens the link; a failed read leaves status as it was.
    bool ReadStatus();

    // Zero until a read succeeds, so that nothing acts on undefined values.
    UnitStatus status = {};
    HANDLE handle = INVALID_HANDLE_VALUE;
};
