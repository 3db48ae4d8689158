#pragma once

// The one way the driver includes the kernel headers. In C++, mingw-w64's intrin.h and wdm.h
// both define these two functions; marking the intrinsics as present keeps wdm.h's.
#define __INTRINSIC_DEFINED_InterlockedBitTestAndSet
#define __INTRINSIC_DEFINED_InterlockedBitTestAndReset
#include <ddk/wdm.h>
