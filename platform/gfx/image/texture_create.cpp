#include "platform/gfx/image/d3dx_texture.h"

using namespace gfx;

HResult D3DXCreateTexture(Device* device, uint32_t width, uint32_t height, uint32_t mipLevels,
                          uint32_t usage, Format format, Pool pool, Texture** out) {
  if (!out) return kInvalidCall;
  *out = nullptr;
  if (!device) return kInvalidCall;
  auto size = [](uint32_t v) { return v == D3DX_DEFAULT ? 256u : v == 0 ? 1u : v; };
  if (mipLevels == D3DX_DEFAULT) mipLevels = 0;
  if (format == Format::Unknown) format = Format::A8R8G8B8;
  return device->CreateTexture(size(width), size(height), mipLevels, usage, format, pool, out);
}
