#pragma once

#include "core/timing/smart_timing.h"

// What the sprite and quad text links share: they answer the mouse only while their timeline
// is not hidden.

// Hover: over a link that is not hidden the cursor becomes the hand and the answer is 1; else 0
// and the cursor is left to the window.
int HoverLink(const ZKW_SmartTiming& timing, bool hit);
// Click: a link that is not hidden and is hit shows slide `target` (an index at or beyond the
// slide count shows nothing new).
void ClickLink(const ZKW_SmartTiming& timing, bool hit, unsigned target);
// Whether the current timeline reports the hidden state (false without one).
bool TimingHidden(const ZKW_SmartTiming& timing);
