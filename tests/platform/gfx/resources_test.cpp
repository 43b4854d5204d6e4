#include "gfx_fixture.h"
#include "platform/gfx/texture_format.h"

namespace gfx_test {
namespace {

TEST_F(GfxTest, VertexAndIndexBuffersLockRoundTrip) {
  ComPtr<VertexBuffer> vb;
  ASSERT_EQ(device_->CreateVertexBuffer(32, Usage::WriteOnly, kColorFvf, Pool::Managed, vb.Put()),
            kOk);
  VertexBufferDesc desc;
  EXPECT_EQ(vb->GetDesc(&desc), kOk);
  EXPECT_EQ(desc.size, 32u);
  EXPECT_EQ(desc.fvf, kColorFvf);
  EXPECT_EQ(desc.pool, Pool::Managed);

  void* p = nullptr;
  ASSERT_EQ(vb->Lock(8, 8, &p, 0), kOk);
  const uint8_t bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  std::memcpy(p, bytes, 8);
  EXPECT_EQ(vb->Lock(0, 0, &p, 0), kInvalidCall);  // already locked
  ASSERT_EQ(vb->Unlock(), kOk);
  EXPECT_EQ(vb->Unlock(), kInvalidCall);
  EXPECT_EQ(std::memcmp(vb->Data().data() + 8, bytes, 8), 0);
  EXPECT_EQ(vb->Data()[0], 0);

  ASSERT_EQ(vb->Lock(0, 0, &p, LockFlags::ReadOnly), kOk);
  EXPECT_EQ(static_cast<uint8_t*>(p)[9], 2);
  vb->Unlock();
  EXPECT_EQ(vb->Lock(24, 16, &p, 0), kInvalidCall);  // past the end
  EXPECT_EQ(p, nullptr);

  ComPtr<IndexBuffer> ib;
  ASSERT_EQ(device_->CreateIndexBuffer(12, 0, Format::Index16, Pool::Managed, ib.Put()), kOk);
  ASSERT_EQ(ib->Lock(0, 0, &p, 0), kOk);
  const uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
  std::memcpy(p, indices, sizeof indices);
  ib->Unlock();
  EXPECT_EQ(std::memcmp(ib->Data().data(), indices, sizeof indices), 0);
  EXPECT_EQ(device_->CreateIndexBuffer(12, 0, Format::A8R8G8B8, Pool::Managed, ib.Put()),
            kInvalidCall);
}

TEST_F(GfxTest, TexturesLockByLevelAndRectangle) {
  ComPtr<Texture> t;
  ASSERT_EQ(device_->CreateTexture(8, 4, 0, 0, Format::A8R8G8B8, Pool::Managed, t.Put()), kOk);
  ASSERT_EQ(t->GetLevelCount(), 4u);  // 8x4, 4x2, 2x1, 1x1
  SurfaceDesc desc;
  EXPECT_EQ(t->GetLevelDesc(2, &desc), kOk);
  EXPECT_EQ(desc.width, 2u);
  EXPECT_EQ(desc.height, 1u);
  EXPECT_EQ(t->GetLevelDesc(4, &desc), kInvalidCall);

  LockedRect r;
  const Rect rect{2, 1, 4, 3};
  ASSERT_EQ(t->LockRect(0, &r, &rect, 0), kOk);
  EXPECT_EQ(r.pitch, 32);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x)
      reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(r.bits) + y * r.pitch)[x] =
          0xFF000000u | uint32_t(y * 2 + x + 1);
  ASSERT_EQ(t->UnlockRect(0), kOk);
  std::vector<uint8_t> bytes;
  uint32_t pitch = 0;
  ASSERT_EQ(t->ReadLevel(0, &bytes, &pitch), kOk);
  auto at = [&](int x, int y) {
    uint32_t v;
    std::memcpy(&v, bytes.data() + y * pitch + x * 4, 4);
    return v;
  };
  EXPECT_EQ(at(2, 1), 0xFF000001u);
  EXPECT_EQ(at(3, 2), 0xFF000004u);
  EXPECT_EQ(at(1, 1), 0u);
  const Rect outside{6, 2, 9, 3};
  EXPECT_EQ(t->LockRect(0, &r, &outside, 0), kInvalidCall);

  // The texture as drawn shows what was locked in.
  device_->SetTexture(0, t.Get());
  device_->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::SelectArg1);
  DrawScreenQuad(0, 0, 8, 4, 0xFFFFFFFF);
  EXPECT_EQ(Pixel(2, 1), 0xFF000001u);
  EXPECT_EQ(Pixel(3, 2), 0xFF000004u);

  // Pitches of the other formats; R8G8B8 is made with 32-bit pixels.
  const struct {
    Format format;
    int pitch;
  } formats[] = {{Format::A8, 8},    {Format::V8U8, 16}, {Format::V16U16, 32},
                 {Format::Dxt1, 16}, {Format::Dxt5, 32}, {Format::R8G8B8, 32}};
  for (const auto& f : formats) {
    ASSERT_EQ(device_->CreateTexture(8, 8, 1, 0, f.format, Pool::Managed, t.Put()), kOk);
    ASSERT_EQ(t->LockRect(0, &r, nullptr, 0), kOk);
    EXPECT_EQ(r.pitch, f.pitch) << uint32_t(f.format);
    t->UnlockRect(0);
  }
  EXPECT_EQ(t->GetLevelDesc(0, &desc), kOk);
  EXPECT_EQ(desc.format, Format::X8R8G8B8);
}

TEST_F(GfxTest, ManagedTexturesLockWhatWasLastWritten) {
  // Formats GL keeps byte for byte are locked through a read-back of GL's copy: what WriteLevel
  // or an earlier lock put there, on any level, and zeros in a new texture.
  for (Format format : {Format::A8R8G8B8, Format::X8R8G8B8, Format::A8, Format::V8U8}) {
    SCOPED_TRACE(uint32_t(format));
    ComPtr<Texture> t;
    ASSERT_EQ(device_->CreateTexture(6, 4, 2, 0, format, Pool::Managed, t.Put()), kOk);
    const uint32_t pitch = t->FormatInfo().Pitch(3);  // level 1: 3 x 2
    LockedRect r;
    ASSERT_EQ(t->LockRect(1, &r, nullptr, LockFlags::ReadOnly), kOk);
    EXPECT_EQ(static_cast<uint8_t*>(r.bits)[pitch + 1], 0);
    t->UnlockRect(1);
    std::vector<uint8_t> bytes(size_t(pitch) * 2);
    for (size_t i = 0; i < bytes.size(); ++i)
      bytes[i] = uint8_t(i * 37 + 5);
    ASSERT_EQ(t->WriteLevel(1, bytes.data(), pitch), kOk);
    ASSERT_EQ(t->LockRect(1, &r, nullptr, 0), kOk);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), static_cast<uint8_t*>(r.bits)));
    static_cast<uint8_t*>(r.bits)[pitch] = 0x7F;
    t->UnlockRect(1);
    bytes[pitch] = 0x7F;
    ASSERT_EQ(t->LockRect(1, &r, nullptr, LockFlags::ReadOnly), kOk);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), static_cast<uint8_t*>(r.bits)));
    t->UnlockRect(1);
  }
}

TEST_F(GfxTest, RenderTargetsAreReadButNotLocked) {
  ComPtr<Texture> t;
  ASSERT_EQ(device_->CreateTexture(4, 4, 1, Usage::RenderTarget, Format::A8R8G8B8, Pool::Default,
                                   t.Put()),
            kOk);
  LockedRect r;
  EXPECT_EQ(t->LockRect(0, &r, nullptr, 0), kInvalidCall);
  EXPECT_EQ(device_->CreateTexture(4, 4, 1, Usage::RenderTarget, Format::A8R8G8B8, Pool::Managed,
                                   t.Put()),
            kInvalidCall);
  EXPECT_EQ(device_->CreateTexture(0, 4, 1, 0, Format::A8R8G8B8, Pool::Managed, t.Put()),
            kInvalidCall);
  EXPECT_EQ(device_->CreateTexture(4, 4, 1, 0, Format::Unknown, Pool::Managed, t.Put()),
            kInvalidCall);
}

// The three block formats, decoded as Direct3D defines them.
TEST(DxtDecode, ColourAndAlphaBlocks) {
  // Red and blue end points; rows use indices 0, 1, 2, 3.
  const uint8_t dxt1[8] = {0x00, 0xF8, 0x1F, 0x00, 0x00, 0x55, 0xAA, 0xFF};
  uint8_t out[16 * 4];
  DecodeDxt(Format::Dxt1, dxt1, 4, 4, out);
  auto pixel = [&](int x, int y) {
    uint32_t v;
    std::memcpy(&v, out + (y * 4 + x) * 4, 4);
    return v;
  };
  EXPECT_EQ(pixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(pixel(3, 1), 0xFF0000FFu);
  EXPECT_EQ(pixel(1, 2), 0xFFAA0055u);  // 2/3 red + 1/3 blue
  EXPECT_EQ(pixel(2, 3), 0xFF5500AAu);

  // First end point not above the second: three colours and transparent black.
  const uint8_t punch[8] = {0x1F, 0x00, 0x00, 0xF8, 0xFF, 0xAA, 0x00, 0x00};
  DecodeDxt(Format::Dxt1, punch, 4, 4, out);
  EXPECT_EQ(pixel(0, 0), 0u);
  EXPECT_EQ(pixel(0, 1), 0xFF7F007Fu);
  EXPECT_EQ(pixel(0, 2), 0xFF0000FFu);

  uint8_t dxt3[16] = {0x0F, 0xF0};  // alpha nibbles 15, 0, 0, 15 in the first row
  std::memcpy(dxt3 + 8, dxt1, 8);
  DecodeDxt(Format::Dxt3, dxt3, 4, 4, out);
  EXPECT_EQ(pixel(0, 0) >> 24, 0xFFu);
  EXPECT_EQ(pixel(1, 0) >> 24, 0u);
  EXPECT_EQ(pixel(3, 0) >> 24, 0xFFu);

  // Alpha end points 255 and 0, eight steps; the first texels use codes 0, 1, 2.
  uint8_t dxt5[16] = {255, 0, 0x08, 0x00, 0, 0, 0, 0};
  dxt5[2] = 0 | (1 << 3) | (2 << 6);
  std::memcpy(dxt5 + 8, dxt1, 8);
  DecodeDxt(Format::Dxt5, dxt5, 4, 4, out);
  EXPECT_EQ(pixel(0, 0) >> 24, 255u);
  EXPECT_EQ(pixel(1, 0) >> 24, 0u);
  EXPECT_EQ(pixel(2, 0) >> 24, (6 * 255 + 3) / 7u);

  // A level smaller than a block takes its top-left texels.
  DecodeDxt(Format::Dxt1, dxt1, 1, 2, out);
  EXPECT_EQ(pixel(0, 0), 0xFFFF0000u);
}

TEST_F(GfxTest, DxtTexturesDrawDecoded) {
  ComPtr<Texture> t;
  ASSERT_EQ(device_->CreateTexture(4, 4, 1, 0, Format::Dxt1, Pool::Managed, t.Put()), kOk);
  LockedRect r;
  ASSERT_EQ(t->LockRect(0, &r, nullptr, 0), kOk);
  const uint8_t block[8] = {0x00, 0xF8, 0x1F, 0x00, 0x00, 0x55, 0xAA, 0xFF};
  std::memcpy(r.bits, block, 8);
  t->UnlockRect(0);
  device_->SetTexture(0, t.Get());
  device_->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::SelectArg1);
  DrawScreenQuad(0, 0, 4, 4, 0xFFFFFFFF);
  EXPECT_EQ(Pixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(Pixel(0, 1), 0xFF0000FFu);
}

TEST_F(GfxTest, PrivateDataTagsAResource) {
  ComPtr<Texture> t;
  ASSERT_EQ(device_->CreateTexture(2, 2, 1, 0, Format::A8R8G8B8, Pool::Managed, t.Put()), kOk);
  const GUID tag = GUID::Parse(u"{FC4E11FD-5193-4726-BE4E-FC166E3E435C}");
  uint16_t value = 0;
  uint32_t size = sizeof value;
  EXPECT_EQ(t->GetPrivateData(tag, &value, &size), kNotFound);
  const uint16_t one = 1;
  ASSERT_EQ(t->SetPrivateData(tag, &one, sizeof one), kOk);
  size = 0;
  EXPECT_EQ(t->GetPrivateData(tag, nullptr, &size), kMoreData);
  EXPECT_EQ(size, 2u);
  ASSERT_EQ(t->GetPrivateData(tag, &value, &size), kOk);
  EXPECT_EQ(value, 1);
  EXPECT_EQ(t->FreePrivateData(tag), kOk);
  EXPECT_EQ(t->GetPrivateData(tag, &value, &size), kNotFound);
}

TEST_F(GfxTest, ReferencesFollowComRules) {
  Texture* t = nullptr;
  ASSERT_EQ(device_->CreateTexture(2, 2, 1, 0, Format::A8R8G8B8, Pool::Managed, &t), kOk);
  EXPECT_EQ(t->AddRef(), 2u);
  EXPECT_EQ(t->Release(), 1u);
  device_->SetTexture(0, t);  // the device holds one
  EXPECT_EQ(t->AddRef(), 3u);
  t->Release();
  Surface* a = nullptr;
  Surface* b = nullptr;
  EXPECT_EQ(t->GetSurfaceLevel(0, &a), kOk);
  EXPECT_EQ(t->GetSurfaceLevel(0, &b), kOk);
  EXPECT_EQ(a, b);  // one surface object per level
  b->Release();
  device_->SetTexture(0, nullptr);
  EXPECT_EQ(t->Release(), 1u);  // the surface keeps its texture
  SurfaceDesc desc;
  EXPECT_EQ(a->GetDesc(&desc), kOk);
  EXPECT_EQ(a->Release(), 0u);  // and the last release frees both

  // An object that outlives its device stays safe to use and release.
  ComPtr<Device> other;
  ASSERT_EQ(Device::CreateHeadless(2, 2, other.Put()), kOk);
  ComPtr<VertexBuffer> vb;
  ASSERT_EQ(other->CreateVertexBuffer(16, 0, kColorFvf, Pool::Managed, vb.Put()), kOk);
  // An object names its device with a reference for the caller.
  Device* maker = nullptr;
  ASSERT_EQ(vb->GetDevice(&maker), kOk);
  EXPECT_EQ(maker, other.Get());
  EXPECT_EQ(maker->Release(), 1u);
  other.Reset();
  EXPECT_TRUE(vb->IsLost());
  void* p = nullptr;
  EXPECT_EQ(vb->Lock(0, 0, &p, 0), kInvalidCall);
  EXPECT_EQ(vb->GetDevice(&maker), kInvalidCall);
  EXPECT_EQ(maker, nullptr);
}

TEST_F(GfxTest, LossDropsTheDefaultPoolAndResetBringsTheDeviceBack) {
  std::vector<std::string> calls;
  device_->AddLossHooks([&] { calls.push_back("lost"); }, [&] { calls.push_back("reset"); });
  ComPtr<Texture> target, managed;
  ASSERT_EQ(device_->CreateTexture(4, 4, 1, Usage::RenderTarget, Format::A8R8G8B8, Pool::Default,
                                   target.Put()),
            kOk);
  managed = MakeTexture(1, 1, {0xFF00FF00});
  ComPtr<VertexBuffer> dynamic;
  ASSERT_EQ(
      device_->CreateVertexBuffer(112, Usage::Dynamic, kScreenFvf, Pool::Default, dynamic.Put()),
      kOk);

  EXPECT_EQ(device_->TestCooperativeLevel(), kOk);
  device_->SimulateLoss();
  EXPECT_EQ(calls, std::vector<std::string>{"lost"});
  EXPECT_EQ(device_->TestCooperativeLevel(), kDeviceLost);
  EXPECT_TRUE(target->IsLost());
  EXPECT_TRUE(dynamic->IsLost());
  EXPECT_FALSE(managed->IsLost());
  EXPECT_EQ(device_->Present(), kDeviceLost);
  EXPECT_EQ(device_->Reset(device_->GetPresentParameters()), kDeviceLost);
  EXPECT_EQ(device_->Clear(0, nullptr, ClearFlags::Target, 0, 1.0f, 0), kOk);  // no-op

  device_->EndSimulatedLoss();
  EXPECT_EQ(device_->TestCooperativeLevel(), kDeviceNotReset);
  PresentParameters params = device_->GetPresentParameters();
  ASSERT_EQ(device_->Reset(params), kOk);
  EXPECT_EQ(calls, (std::vector<std::string>{"lost", "reset"}));
  EXPECT_EQ(device_->TestCooperativeLevel(), kOk);
  uint32_t lighting = 0;
  EXPECT_EQ(device_->GetRenderState(RenderState::Lighting, &lighting), kOk);
  EXPECT_EQ(lighting, 1u);  // state is back at its defaults

  // The managed texture still draws.
  device_->SetRenderState(RenderState::Lighting, 0);
  device_->SetRenderState(RenderState::ZEnable, 0);
  device_->SetTexture(0, managed.Get());
  device_->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::SelectArg1);
  DrawScreenQuad(0, 0, 8, 8, 0xFFFFFFFF);
  EXPECT_EQ(Pixel(4, 4), 0xFF00FF00u);
  // Drawing from a dropped buffer is refused.
  device_->SetFVF(kScreenFvf);
  device_->SetStreamSource(0, dynamic.Get(), 0, sizeof(ScreenVertex));
  EXPECT_EQ(device_->DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2), kInvalidCall);

  // A new back-buffer size is a reset of a working device: it is lost and reset at once.
  params.backBufferWidth = 16;
  params.backBufferHeight = 4;
  ASSERT_EQ(device_->Reset(params), kOk);
  EXPECT_EQ(calls.size(), 4u);
  ComPtr<Surface> bb;
  EXPECT_EQ(device_->GetBackBuffer(0, 0, BackBufferType::Mono, bb.Put()), kOk);
  SurfaceDesc desc;
  EXPECT_EQ(bb->GetDesc(&desc), kOk);
  EXPECT_EQ(desc.width, 16u);
  EXPECT_EQ(desc.height, 4u);
  Viewport v;
  EXPECT_EQ(device_->GetViewport(&v), kOk);
  EXPECT_EQ(v.width, 16u);
}

}  // namespace
}  // namespace gfx_test
