#pragma once

#include "sim/driver/kernel_headers.h"

#include <stdint.h>

// The unit's device interface class, {40D21F00-3D74-11D4-9D36-00609723513D}: what the program
// looks its unit up by.
extern const GUID UnitInterfaceClass;

// The instance number of a unit from its interface's symbolic link,
// \??\ROOT#NORVIKSIM#0003#{...}: the decimal digits between the second and third '#'.
// False when the link has no such number.
bool InstanceFromInterfaceLink(const UNICODE_STRING& link, uint32_t& instance);
