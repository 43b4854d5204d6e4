#pragma once

#include <cstdint>

// Milliseconds of wall time since the process started: the clock that the velocity field's
// noise runs on (not the scene time, so a field keeps flowing while a slide is paused).
int64_t ProcessClockMs();

// Replaces the clock for tests; null restores the real one.
void SetProcessClockForTesting(int64_t (*clock)());
