// What the input library has been told so far, for tests of the code that drives it.
#pragma once

#include "Tactil.h"

extern "C" {
TACTIL_API void *TactilWindow(void);
TACTIL_API void *TactilInstance(void);
TACTIL_API int TactilInitCount(void);
TACTIL_API int TactilPollCount(void);
}
