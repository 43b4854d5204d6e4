#pragma once

#include <cstdint>

#include "core/archive/data_records.h"
#include "core/com_ref.h"
#include "platform/gfx/hresult.h"
#include "platform/gfx/texture.h"

// Resource ids of links and records are the low 16 bits of the ids they hold.
inline uint16_t ResourceIdOf(int64_t id) {
  return static_cast<uint16_t>(id & 0xFFFF);
}

// The player's own "DDS" picture `id` as a managed texture at the picture's size rounded up to
// powers of two, unscaled, with the full mip chain when `fullChain` (else one level), into
// `out`. The creation's result when the picture cannot be decoded; when the resource is missing,
// kOk if `out` already holds a texture, else kFail.
gfx::HResult LoadBuiltinTexture(uint16_t id, ComRef<gfx::Texture>& out, bool fullChain);

// Replaces the record's bytes with its module's resource of the record's id: the "DDS" one,
// else the RT_RCDATA one (a module that cannot be read makes both searches use the player's own
// resources). The module is only ever read as data. False, with the record unchanged, when
// neither resource exists.
[[nodiscard]] bool LoadFromModule(ResourceDataRecord& record);
