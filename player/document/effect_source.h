#pragma once

#include <optional>
#include <span>

#include "core/archive/data_records.h"

// What an effect link compiles. `library` is the RT_RCDATA resource of the link's id in the
// link's module when that module could be read; `builtin` the player's own resource of the id.
// A library effect in our effect format replaces the stored bytes (the record keeps it for a
// later save); stored bytes in our format are used as they are; anything else gives way to the
// built-in effect, so that a library on the machine never removes an effect. Empty when there
// is nothing to compile.
std::span<const uint8_t> SelectEffectBytes(ResourceDataRecord& stored,
                                           std::optional<std::span<const uint8_t>> library,
                                           std::optional<std::span<const uint8_t>> builtin);
