#pragma once

#include <cstdint>

#include "core/com_ref.h"
#include "platform/gfx/texture.h"

// Render targets at multiples of the back buffer's size, shared by the slides. Only the showing
// slide draws, so the targets that a slide's renderer and brushes give back when it stops
// showing serve the next slide instead of being made again: a full-screen target is a large
// allocation that the driver clears. A texture that an effect still holds as a parameter is
// taken again from here instead of staying in memory beside the new one. Main thread only.
namespace shared_targets {

// A given-back render target of w x h of the current device, or a new one; none when it
// cannot be made.
ComRef<gfx::Texture> Take(uint32_t w, uint32_t h);
// Keeps `texture` for the next Take of its size; nothing for none or one kept already.
void GiveBack(ComRef<gfx::Texture> texture);
// Releases every kept target (before the device goes).
void Clear();
// The number of targets kept.
size_t KeptCount();

}  // namespace shared_targets
