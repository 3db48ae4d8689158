#include "sim/unitpanel/unit_watch.h"

PanelLink UnitWatch::Reach() {
    SimInfo info = {};
    if (!sim_.Connect()) {
        return PanelLink::NoDriver;
    }
    if (!sim_.Info(info)) {
        // A control device that stopped answering is opened afresh next time.
        sim_.Disconnect();
        return PanelLink::NoDriver;
    }
    if (instance_ >= SimMaxInstances || !info.instances[instance_].installed) {
        return PanelLink::NoUnit;
    }
    return info.instances[instance_].present ? PanelLink::Ready : PanelLink::Unplugged;
}

PanelReading UnitWatch::Read(std::vector<SimLogEntry>& recentLog) {
    PanelReading reading = {};
    reading.link = Reach();
    if (reading.link == PanelLink::Ready && !sim_.GetState(instance_, reading.state)) {
        sim_.Disconnect();
        reading.link = PanelLink::NoDriver;
    }
    if (reading.link == PanelLink::NoDriver || !sim_.ReadRecentLog(recentLog)) {
        recentLog.clear();
    }
    return reading;
}

bool UnitWatch::Press(std::uint32_t code) {
    return sim_.IsConnected() && sim_.Press(instance_, code);
}

bool UnitWatch::CurrentState(SimUnitState& state) {
    return sim_.IsConnected() && sim_.GetState(instance_, state);
}
