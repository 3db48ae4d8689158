#pragma once

// The front panel's only way to the unit: the simulated driver's control channel, the one
// unitsim uses. The panel never opens the unit's own device, so the program's opening and
// closing of it stays exactly as it would be without the panel.

#include "sim/control_client.h"
#include "sim/unitpanel/panel_view.h"

#include <cstdint>
#include <vector>

struct PanelReading {
    PanelLink link;
    SimUnitState state; // valid when link is Ready
};

class UnitWatch {
public:
    // Which unit to watch, by its instance number; the first one unless told.
    void Follow(unsigned instance) { instance_ = instance; }
    unsigned Instance() const { return instance_; }

    // The unit as it is now, and the driver log's newest entries (kept when the unit is
    // unplugged too). A driver that is not there is looked for again on the next call.
    PanelReading Read(std::vector<SimLogEntry>& recentLog);

    // As if the code's key were pressed on the unit, exactly as unitsim press does.
    bool Press(std::uint32_t code);

    // The unit's state right now, for a key that depends on it; false when it cannot be read.
    bool CurrentState(SimUnitState& state);

    void Close() { sim_.Disconnect(); }

private:
    PanelLink Reach();

    SimControl sim_;
    unsigned instance_ = 0;
};
