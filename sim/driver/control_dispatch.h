#pragma once

// The test and demo channel on \Device\NorvikSimControl: reads and changes the simulated units
// from outside, the way a person at the unit's front panel or at its USB plug would.

#include "sim/driver/kernel_headers.h"

NTSTATUS DispatchControlRequest(IRP* irp);
