#include "player/resources/picture_textures.h"

#include "platform/gfx/image/d3dx_texture.h"
#include "platform/sys/file_paths.h"
#include "player/device/device_values.h"
#include "player/resources/picture_decode_ahead.h"

namespace {

// The reference for a decode's result; a failed decode keeps no texture.
TextureRef MakeRef(gfx::HResult result, gfx::Texture* texture, const D3DXIMAGE_INFO& info) {
  TextureRef ref;
  ref.texture = ComRef<gfx::Texture>(texture);
  const bool decoded = gfx::Succeeded(result) && texture != nullptr && info.Width > 0;
  if (!decoded) ref.texture.Reset();
  ref.width = decoded ? info.Width : kUndecodedWidth;
  ref.height = decoded ? info.Height : kUndecodedHeight;
  ref.aspect = static_cast<float>(ref.height) / static_cast<float>(ref.width);
  return ref;
}

}  // namespace

PreparedPicture PreparePictureBytes(std::span<const uint8_t> bytes) {
  return D3DXPreparePictureInMemory(bytes, D3DX_DEFAULT, D3DX_DEFAULT, 1, gfx::Format::Unknown,
                                    D3DX_FILTER_TRIANGLE, D3DX_FILTER_NONE, 0, gfx::kMaxTextureSize,
                                    gfx::kMaxTextureSize);
}

TextureRef CreateTextureFromBytes(std::span<const uint8_t> bytes) {
  gfx::Device* device = CurrentDevice();
  D3DXIMAGE_INFO info;
  gfx::Texture* texture = nullptr;
  gfx::HResult result = gfx::kFail;
  if (device != nullptr && !bytes.empty()) {
    std::optional<PreparedPicture> prepared = PictureDecodeAhead::Take(bytes);
    if (!prepared) prepared = PreparePictureBytes(bytes);
    result = D3DXCreateTextureFromPrepared(device, std::move(*prepared), 0, gfx::Pool::Managed,
                                           &info, &texture);
  }
  return MakeRef(result, texture, info);
}

TextureRef CreateTextureFromFile(const zkw_string& path) {
  gfx::Device* device = CurrentDevice();
  D3DXIMAGE_INFO info;
  gfx::Texture* texture = nullptr;
  gfx::HResult result = gfx::kFail;
  if (device != nullptr && !path.empty()) {
    result = D3DXCreateTextureFromFileExW(
        device, sys::ToPath(path), D3DX_DEFAULT, D3DX_DEFAULT, 1, 0, gfx::Format::Unknown,
        gfx::Pool::Managed, D3DX_FILTER_TRIANGLE, D3DX_FILTER_NONE, 0, &info, &texture);
  }
  return MakeRef(result, texture, info);
}
