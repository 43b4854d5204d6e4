#pragma once

#include <optional>

#include "core/timing/smart_timing.h"
#include "platform/math/d3dx_types.h"

class DS_ABObj_Constructor;

// What the sprite and quad text links share: they answer the mouse only while their timeline
// is not hidden, and they find the window point in the picture as they are drawn.

// Hover: over a link that is not hidden the cursor becomes the hand and the answer is 1; else 0
// and the cursor is left to the window.
int HoverLink(const ZKW_SmartTiming& timing, bool hit);
// Click: a link that is not hidden and is hit shows slide `target` (an index at or beyond the
// slide count shows nothing new).
void ClickLink(const ZKW_SmartTiming& timing, bool hit, unsigned target);
// Whether the current timeline reports the hidden state (false without one).
bool TimingHidden(const ZKW_SmartTiming& timing);
// The picture point under window pixel (x, y) where `link` is drawn: through the render
// context's view and, while the slide's camera runs, its camera at the link's depth. Empty
// before the first frame (no render context).
std::optional<D3DXVECTOR3> LinkPointInPicture(const DS_ABObj_Constructor& link, float x, float y);
