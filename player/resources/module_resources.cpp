#include "player/resources/module_resources.h"

#include "platform/gfx/image/d3dx_texture.h"
#include "platform/res/data_modules.h"
#include "player/device/device_values.h"

gfx::HResult LoadBuiltinTexture(uint16_t id, ComRef<gfx::Texture>& out, bool fullChain) {
  const auto bytes = res::FindResource(nullptr, u"DDS", id);
  gfx::Device* device = CurrentDevice();
  if (!bytes || device == nullptr) return out ? gfx::kOk : gfx::kFail;
  gfx::Texture* texture = nullptr;
  const gfx::HResult result = D3DXCreateTextureFromFileInMemoryEx(
      device, bytes->data(), static_cast<uint32_t>(bytes->size()), D3DX_DEFAULT, D3DX_DEFAULT,
      fullChain ? D3DX_DEFAULT : 1, 0, gfx::Format::Unknown, gfx::Pool::Managed, D3DX_FILTER_NONE,
      fullChain ? D3DX_DEFAULT : D3DX_FILTER_NONE, 0, nullptr, &texture);
  if (gfx::Failed(result)) {
    if (texture != nullptr) texture->Release();
    return result;
  }
  out.Reset(texture);
  return result;
}

bool LoadFromModule(ResourceDataRecord& record) {
  auto bytes = res::LoadModuleResourceBytes(record.module, ResourceIdOf(record.resourceId));
  if (!bytes) return false;
  record.bytes = std::move(*bytes);
  return true;
}
