#include "player/resources/frame_textures.h"

#include "platform/gfx/image/d3dx_texture.h"
#include "platform/gfx/texture.h"
#include "player/device/device_values.h"

void CreateFrameTextures(LinkTextureSet& set, const std::vector<PictureFrame>& frames,
                         bool compress, uint32_t filter) {
  const size_t count = frames.size();
  set.delays.resize(count);
  set.textures.resize(count);
  const gfx::Format format = compress ? gfx::Format::Dxt1 : gfx::Format::Unknown;
  gfx::Device* device = CurrentDevice();
  for (size_t i = 0; i < count; ++i) {
    const PictureFrame& frame = frames[i];
    set.delays[i] = frame.delay;
    gfx::Texture* texture = nullptr;
    D3DXIMAGE_INFO info;
    if (device != nullptr && frame.bytes.Count() > 0 &&
        gfx::Succeeded(D3DXCreateTextureFromFileInMemoryEx(
            device, frame.bytes.Data(), frame.bytes.Count(), D3DX_DEFAULT, D3DX_DEFAULT, 1, 0,
            format, gfx::Pool::Managed, filter, D3DX_FILTER_NONE, 0, &info, &texture)) &&
        texture != nullptr) {
      set.sourceWidth = info.Width;
      set.sourceHeight = info.Height;
    } else if (texture != nullptr) {
      texture->Release();
      texture = nullptr;
    }
    set.textures[i].Reset(texture);
  }
  gfx::Texture* first = count > 0 ? set.textures[0].Get() : nullptr;
  if (first != nullptr && set.sourceWidth > 0 && set.sourceHeight > 0) {
    set.textureWidth = first->Width();
    set.textureHeight = first->Height();
    set.usedU = static_cast<float>(set.sourceWidth) / static_cast<float>(set.textureWidth);
    set.usedV = static_cast<float>(set.sourceHeight) / static_cast<float>(set.textureHeight);
    set.aspect = static_cast<float>(set.sourceHeight) / static_cast<float>(set.sourceWidth);
  }
  // The filter's low byte selects it; the bits above are flags.
  if ((filter & 0xFF) != D3DX_FILTER_NONE) {
    set.usedU = 1.0f;
    set.usedV = 1.0f;
  }
}
