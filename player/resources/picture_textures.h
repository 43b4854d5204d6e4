#pragma once

#include <cstdint>
#include <span>

#include "core/zkw_string.h"
#include "platform/gfx/image/d3dx_texture.h"
#include "player/resources/texture_ref.h"

// Textures from encoded pictures with the parameters every picture of the document takes: the
// picture's size rounded up to powers of two, one level, its own format, the managed pool, and
// the picture resampled to fill the texture.
//
// A picture that cannot be decoded (or no device) gives no texture and the size 800 x 600
// (aspect 0.75), so that callers that divide by a picture's size stay finite.
inline constexpr uint32_t kUndecodedWidth = 800;
inline constexpr uint32_t kUndecodedHeight = 600;

[[nodiscard]] TextureRef CreateTextureFromBytes(std::span<const uint8_t> bytes);
[[nodiscard]] inline TextureRef CreateTextureFromBytes(const uint8_t* bytes, uint32_t size) {
  return CreateTextureFromBytes(std::span<const uint8_t>(bytes, size));
}
// The first half of CreateTextureFromBytes, which any thread may run: the picture decoded into
// the texture's level for the device's largest texture.
[[nodiscard]] PreparedPicture PreparePictureBytes(std::span<const uint8_t> bytes);
// The same for a picture file named by a stored path.
[[nodiscard]] TextureRef CreateTextureFromFile(const zkw_string& path);
