#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "platform/gfx/device.h"
#include "platform/gfx/image/d3dx_image_types.h"

// The D3DX texture functions on our device: textures from picture files and copies between
// surfaces with D3DX's size, format and filter rules.

// The data is not a picture that can be read.
inline constexpr gfx::HResult D3DXERR_INVALIDDATA = static_cast<gfx::HResult>(0x88760B59);

// A texture from the bytes of a PNG, JPEG, BMP, TGA, GIF (first frame) or DDS file.
// - width, height: D3DX_DEFAULT or 0 rounds the picture's size up to a power of two;
//   D3DX_DEFAULT_NONPOW2 and D3DX_FROM_FILE keep it; any other value is used as it is. Either
//   is then capped at the device's largest texture (Caps), so larger pictures are scaled down.
// - mipLevels: D3DX_DEFAULT or 0 makes the full chain; D3DX_FROM_FILE the file's levels.
// - format: Unknown (or D3DX_FROM_FILE's value) keeps the picture's: A8R8G8B8 when a decoded
//   picture has alpha, else X8R8G8B8; a DDS file's own format. Colour pictures convert to any
//   colour format (A8R8G8B8, X8R8G8B8, A8, DXT1/3/5); bump formats only stay themselves.
// - filter: how the picture is brought to the texture's size. NONE puts it unscaled in the
//   top-left corner with the rest transparent black, so that picture size / texture size is
//   the part used; TRIANGLE (and D3DX_DEFAULT) resamples it to fill the texture.
// - mipFilter: how further levels are made from the one above (D3DX_DEFAULT: BOX); a DDS
//   file's own levels are used where it has them.
// - colorKey: non-zero makes pixels of exactly that 0xAARRGGBB colour transparent black.
// `info` (may be null) receives the file's description before any conversion; it is left
// alone when the data cannot be read. The picture is decoded, scaled and converted a row at a
// time, so that only the texture's own levels are held whole. Fails with D3DXERR_INVALIDDATA for
// data that is not a readable picture and with the device's result when the texture cannot be made.
[[nodiscard]] gfx::HResult D3DXCreateTextureFromFileInMemoryEx(
    gfx::Device* device, const void* data, uint32_t size, uint32_t width, uint32_t height,
    uint32_t mipLevels, uint32_t usage, gfx::Format format, gfx::Pool pool, uint32_t filter,
    uint32_t mipFilter, uint32_t colorKey, D3DXIMAGE_INFO* info, gfx::Texture** out);

// D3DXCreateTextureFromFileInMemoryEx in two halves, so that the first can run on any thread:
// the picture decoded, scaled and converted into the texture's levels for a device whose largest
// texture is maxWidth x maxHeight, then the texture made from them on the device (the levels
// are released as they are uploaded). The results are those of the call in one piece.
struct PreparedPicture {
  gfx::HResult result = gfx::kFail;
  bool described = false;  // `info` holds the file's description
  D3DXIMAGE_INFO info;
  uint32_t width = 0, height = 0, maxWidth = 0, maxHeight = 0;
  gfx::Format format = gfx::Format::Unknown;
  std::vector<std::vector<uint8_t>> levels;
};
[[nodiscard]] PreparedPicture D3DXPreparePictureInMemory(std::span<const uint8_t> bytes,
                                                         uint32_t width, uint32_t height,
                                                         uint32_t mipLevels, gfx::Format format,
                                                         uint32_t filter, uint32_t mipFilter,
                                                         uint32_t colorKey, uint32_t maxWidth,
                                                         uint32_t maxHeight);
// kInvalidCall when the device's largest texture is not the one prepared for.
[[nodiscard]] gfx::HResult D3DXCreateTextureFromPrepared(gfx::Device* device,
                                                         PreparedPicture&& prepared, uint32_t usage,
                                                         gfx::Pool pool, D3DXIMAGE_INFO* info,
                                                         gfx::Texture** out);

// The same for a file; a file that cannot be read fails with D3DXERR_INVALIDDATA.
[[nodiscard]] gfx::HResult D3DXCreateTextureFromFileExW(
    gfx::Device* device, const std::filesystem::path& path, uint32_t width, uint32_t height,
    uint32_t mipLevels, uint32_t usage, gfx::Format format, gfx::Pool pool, uint32_t filter,
    uint32_t mipFilter, uint32_t colorKey, D3DXIMAGE_INFO* info, gfx::Texture** out);

// An empty texture: width or height 0 is 1 and D3DX_DEFAULT is 256; levels 0 or D3DX_DEFAULT
// make the full chain; format Unknown is A8R8G8B8.
[[nodiscard]] gfx::HResult D3DXCreateTexture(gfx::Device* device, uint32_t width, uint32_t height,
                                             uint32_t mipLevels, uint32_t usage, gfx::Format format,
                                             gfx::Pool pool, gfx::Texture** out);

// Copies the rectangle `sourceRect` of one texture level into `destRect` of another (null
// rectangles mean the whole surface), converting the format and scaling with `filter` as
// D3DXCreateTextureFromFileInMemoryEx does. The destination may be a render target. DXT
// rectangles must lie on block boundaries.
[[nodiscard]] gfx::HResult D3DXLoadSurfaceFromSurface(gfx::Surface* dest, const gfx::Rect* destRect,
                                                      gfx::Surface* source,
                                                      const gfx::Rect* sourceRect, uint32_t filter,
                                                      uint32_t colorKey);
