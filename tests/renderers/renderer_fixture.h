#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/archive/ds_iof_r.h"
#include "core/archive/ds_iof_w.h"
#include "core/archive/resource_buffer.h"
#include "core/registry/class_registries.h"
#include "core/registry/core_class_list.h"
#include "core/registry/read_by_name.h"
#include "core/scene/zkw_render_obj.h"
#include "core/startup/thread_slots.h"
#include "platform/gfx/device.h"
#include "platform/gfx/surface_pixels.h"
#include "platform/headless_sdl.h"
#include "player/device/device_values.h"
#include "player/document/doc_res_manager.h"
#include "player/player_class_list.h"
#include "player/render/render_context.h"
#include "player/render/sprite_array.h"
#include "renderers/light/ds_2d_light.h"
#include "renderers/renderers_class_list.h"

namespace renderer_test {

// Texels of vertical stripes `period` texels wide, alternating `a` and `b` from the left.
inline std::vector<uint32_t> Stripes(uint32_t width, uint32_t height, uint32_t period, uint32_t a,
                                     uint32_t b) {
  std::vector<uint32_t> texels(size_t(width) * height);
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x)
      texels[size_t(y) * width + x] = (x / period) % 2 == 0 ? a : b;
  return texels;
}

// A headless device of the given back-buffer size as the process's device, a fresh current
// document and a render context of the thread, with the device's frame log on.
class RendererTest : public ::testing::Test {
 protected:
  explicit RendererTest(uint32_t width = 64, uint32_t height = 64)
      : width_(width), height_(height) {}

  static void SetUpTestSuite() {
    UseHeadlessSdl();
    RegisterClasses({RegisterCoreClasses, RegisterPlayerClasses, RegisterRendererClasses});
  }

  void SetUp() override {
    ASSERT_EQ(gfx::Device::CreateHeadless(width_, height_, device_.Put(), gfx::Format::A8R8G8B8),
              gfx::kOk);
    GetDeviceValues() = DeviceValues{device_.Get(), width_, height_};
    DocumentTlsSlot::Install(std::make_unique<DS_DocResManager>());
    context_ = std::make_unique<RenderContext>();
    RenderContextTlsSlot::Set(context_.get());
    device_->SetRenderState(gfx::RenderState::Lighting, 0);
    device_->SetRenderState(gfx::RenderState::CullMode, gfx::Cull::None);
    device_->SetRenderState(gfx::RenderState::ZEnable, 0);
    device_->EnableFrameLog(true);
  }

  void TearDown() override {
    RenderContextTlsSlot::Set(nullptr);
    context_.reset();
    DocumentTlsSlot::Reset();
    GetDeviceValues() = DeviceValues{};
  }

  DS_DocResManager& Doc() { return *DocumentTlsSlot::Get(); }
  RenderContext& Context() { return *context_; }
  const std::vector<gfx::FrameLogEntry>& Log() { return device_->CurrentFrameLog(); }
  // Forgets the entries logged so far.
  void ClearLog() {
    device_->EnableFrameLog(false);
    device_->EnableFrameLog(true);
  }

  // A managed A8R8G8B8 texture of those texels (rows from the top).
  ComRef<gfx::Texture> MakeTexture(uint32_t width, uint32_t height,
                                   const std::vector<uint32_t>& texels) {
    gfx::Texture* texture = nullptr;
    EXPECT_EQ(device_->CreateTexture(width, height, 1, 0, gfx::Format::A8R8G8B8, gfx::Pool::Managed,
                                     &texture),
              gfx::kOk);
    if (texture != nullptr) EXPECT_EQ(texture->WriteLevel(0, texels.data(), width * 4), gfx::kOk);
    return ComRef<gfx::Texture>(texture);
  }

  // A solid picture of `width` x `height` units under `link`, made of a 2 x 2 texture.
  gfx::Texture* ProvidePicture(const DS_ImageFileLink& link, uint32_t width, uint32_t height,
                               uint32_t colour) {
    return ProvidePicture(link, width, height, 2, 2, {colour, colour, colour, colour});
  }

  // A picture of `width` x `height` units under `link`, made of a texture of those texels
  // (texelsWide x texelsHigh, rows from the top).
  gfx::Texture* ProvidePicture(const DS_ImageFileLink& link, uint32_t width, uint32_t height,
                               uint32_t texelsWide, uint32_t texelsHigh,
                               const std::vector<uint32_t>& texels) {
    gfx::Texture* texture = nullptr;
    EXPECT_EQ(device_->CreateTexture(texelsWide, texelsHigh, 1, 0, gfx::Format::A8R8G8B8,
                                     gfx::Pool::Managed, &texture),
              gfx::kOk);
    EXPECT_EQ(texture->WriteLevel(0, texels.data(), texelsWide * 4), gfx::kOk);
    ImageTextureSet& set = Doc().imageTextureSets[link.Key()];
    set.textures = {ComRef<gfx::Texture>(texture)};
    set.width = width;
    set.height = height;
    set.aspect = float(height) / float(width);
    return texture;
  }

  // The frames of `link` as particle pictures load them: one texture of the texels (rows from
  // the top) standing for a picture of width x height units, used whole.
  gfx::Texture* ProvideFrames(const DS_ImageFileLink& link, uint32_t width, uint32_t height,
                              uint32_t texelsWide, uint32_t texelsHigh,
                              const std::vector<uint32_t>& texels) {
    ComRef<gfx::Texture> texture = MakeTexture(texelsWide, texelsHigh, texels);
    LinkTextureSet& set = Doc().linkTextureSets[link.Key()];
    set.textures = {texture};
    set.sourceWidth = width;
    set.sourceHeight = height;
    set.textureWidth = texelsWide;
    set.textureHeight = texelsHigh;
    set.aspect = float(height) / float(width);
    return texture.Get();
  }

  // The renderer ready to draw as a slide starts it: prepared, viewing the back buffer with
  // the camera on and the device state reset; and its targets made, as the first pass with
  // readers makes them, so that tests can name them before the first frame.
  void StartSlide(DS_2D_Light& renderer) {
    renderer.Prepare();
    QuadCorners unit;
    unit.Init();
    renderer.SetViewQuad(unit);
    QuadCorners backBuffer;
    backBuffer.FromBackBuffer();
    renderer.SetViewQuad(backBuffer);
    renderer.EnableCamera(true);
    renderer.ResetDeviceState();
    (void)CreateAtBackBufferMultiple(renderer.targets);  // none without a size to make them at
  }

  // What a slide does each frame: the offscreen targets when anything reads the picture drawn
  // so far, the background, the objects, the renderer's last pass.
  void Frame(DS_2D_Light& renderer, const RuntimeObjectList& objects = {}) {
    int count = renderer.NeedsOffscreenPass() ? 1 : 0;
    for (const auto& object : objects)
      count += object->NeedsPictureBelow();
    if (count > 0) {
      device_->Clear(0, nullptr, gfx::ClearFlags::Target, 0, 1, 0);
      renderer.BeginTargets();
    }
    renderer.DrawBackground(nullptr);
    renderer.RenderObjects(objects, count);
    renderer.Compose(nullptr);
  }

  // The renderer started on a solid picture of `width` x `height` units of its own.
  void StartSlideOn(DS_2D_Light& renderer, uint32_t width, uint32_t height, uint32_t colour) {
    renderer.backgroundLink = DS_ImageFileLink(u"pictures.dll", 9);
    ProvidePicture(renderer.backgroundLink, width, height, colour);
    StartSlide(renderer);
  }

  // The slide started on the default background made a 64 x 64 picture of black and white
  // stripes 8 texels wide; answers its first frame as the back buffer shows it.
  std::vector<uint32_t> StartStripedSlide(DS_2D_Light& renderer) {
    ProvidePicture(DS_ImageFileLink(u"glimres.dll", 5), 64, 64, 64, 64,
                   Stripes(64, 64, 8, 0xFF000000, 0xFFFFFFFF));
    StartSlide(renderer);
    Frame(renderer);
    return BackBufferPixels();
  }

  static std::vector<uint32_t> Pixels(gfx::Surface* surface) {
    return gfx_test::SurfacePixels(surface);
  }
  static std::vector<uint32_t> Pixels(gfx::Texture* texture) {
    return gfx_test::TexturePixels(texture);
  }
  std::vector<uint32_t> BackBufferPixels() { return gfx_test::BackBufferPixels(device_.Get()); }
  gfx::Surface* BackBuffer() {
    gfx::ComPtr<gfx::Surface> bb;
    EXPECT_EQ(device_->GetBackBuffer(0, 0, gfx::BackBufferType::Mono, bb.Put()), gfx::kOk);
    return bb.Get();  // the device keeps it alive
  }
  gfx::Surface* CurrentTarget() {
    gfx::ComPtr<gfx::Surface> target;
    EXPECT_EQ(device_->GetRenderTarget(0, target.Put()), gfx::kOk);
    return target.Get();  // the device keeps it alive while it is the target
  }

  // An effect from text; every pass replaces the target with the texture "Texture".
  ComRef<gfx::Effect> MakeEffect(int passes = 1) {
    std::string text = "#vornview effect 1\ntexture Texture;\nsampler S { Texture = Texture; }\n";
    text += "technique First {\n";
    for (int i = 0; i < passes; ++i)
      text += "  pass { Fragment = Copy; }\n";
    text += "}\ntechnique Second {\n  pass { Fragment = Copy; }\n}\n";
    text +=
        "code fragment Copy\nout vec4 color;\nvoid main() { color = texture(S, "
        "gfx_TexCoord0.xy); }\nendcode\n";
    gfx::Effect* effect = nullptr;
    std::string errors;
    EXPECT_EQ(gfx::Effect::Create(device_.Get(), "test", text, &effect, &errors), gfx::kOk)
        << errors;
    return ComRef<gfx::Effect>(effect);
  }

  uint32_t width_, height_;
  gfx::ComPtr<gfx::Device> device_;
  std::unique_ptr<RenderContext> context_;
};

// A reader of the picture drawn so far, as a brush is: it draws that picture again with the
// background quad, which puts it back through the camera.
class PictureReader : public ZKW_RenderObj {
 public:
  explicit PictureReader(gfx::Effect* effect) : ZKW_RenderObj(nullptr), effect_(effect) {}
  void Update(float) override {}
  int NeedsPictureBelow() const override { return 1; }
  void Draw(DS_2D_Light& renderer) override {
    effect_->SetTexture("Texture", renderer.GetTargetTextureSlot()->Get());
    renderer.DrawTexWithEffect(renderer.GetBackgroundNode(), effect_);
  }

 private:
  gfx::Effect* effect_;
};

// A canvas that notes its target switches and its whole-picture draws in order, and still makes
// them.
class RecordingCanvas : public DS_2D_Light {
 public:
  void SwitchTarget(int* readerCount, bool clear) override {
    events.push_back(clear ? "switch cleared" : "switch");
    DS_2D_Light::SwitchTarget(readerCount, clear);
  }
  void DrawTexWithEffect(const SimpleMesh& mesh, gfx::Effect* effect) override {
    events.push_back("draw");
    DS_2D_Light::DrawTexWithEffect(mesh, effect);
  }
  std::vector<std::string> events;
};

// A sprite layer whose fields the test sets.
class TestLayer : public SpriteLayer {
 public:
  const IndexedMesh& LayerMesh() const override { return mesh; }
  int BlendMode() const override { return blendMode; }
  uint32_t QuadCount() const override { return quads; }
  gfx::Texture* FrameTexture() const override { return frame; }
  gfx::Texture* SecondTexture() const override { return second; }

  IndexedMesh mesh;
  int blendMode = 0;
  uint32_t quads = 0;
  gfx::Texture* frame = nullptr;
  gfx::Texture* second = nullptr;
};

// An object that draws one opaque red quad over (16, 16)-(48, 48) of the picture as a sprite
// layer.
class RedSquare : public ZKW_RenderObj {
 public:
  RedSquare() : ZKW_RenderObj(nullptr) {
    batch.InitQuads(1);
    if (DX_V::PCT* v = batch.LockVertices()) {
      const float corners[4][2] = {{16, 48}, {16, 16}, {48, 48}, {48, 16}};
      for (int i = 0; i < 4; ++i) {
        v[i].x = corners[i][0];
        v[i].y = corners[i][1];
        v[i].diffuse = 0xFFFF0000;
      }
      batch.UnlockVertices();
    }
    layer.mesh = batch;
    layer.quads = 1;
  }
  void Update(float) override {}
  void Draw(DS_2D_Light& renderer) override { renderer.DrawSpriteLayer(layer); }

  PCTSpriteArray batch;
  TestLayer layer;
};

// Texels whose colour tells where they lie: red grows to the right and green downwards by 4 a
// texel over `size` x `size` texels (at most 64), blue is 0x80.
inline std::vector<uint32_t> Ramp(uint32_t size = 64) {
  std::vector<uint32_t> texels(size_t(size) * size);
  for (uint32_t y = 0; y < size; ++y)
    for (uint32_t x = 0; x < size; ++x)
      texels[size_t(y) * size + x] = 0xFF000080u | (x * 4) << 16 | (y * 4) << 8;
  return texels;
}

// One 8-bit channel of a 0xAARRGGBB colour.
inline uint32_t Channel(uint32_t colour, int shift) {
  return (colour >> shift) & 0xFF;
}

// What `write` stores through a writing archive.
inline std::vector<uint8_t> Bytes(const std::function<void(DS_IOF_Archive&)>& write) {
  auto writer = std::make_unique<DS_IOF_W>();
  DS_IOF_W& w = *writer;
  DS_IOF_Archive archive(std::move(writer));
  write(archive);
  return w.TakeBytes();
}

// An archive that reads `bytes`.
class ReadArchive {
 public:
  explicit ReadArchive(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {
    buffer_.SetMemory(bytes_.data(), bytes_.size());
    archive_ =
        std::make_unique<DS_IOF_Archive>(std::make_unique<DS_IOF_R<ResourceBuffer>>(&buffer_));
  }
  DS_IOF_Archive& archive() { return *archive_; }
  uint64_t Remaining() const { return buffer_.Remaining(); }

 private:
  std::vector<uint8_t> bytes_;
  ResourceBuffer buffer_;
  std::unique_ptr<DS_IOF_Archive> archive_;
};

// The renderer a record makes through the renderer registry; the record is read to its end.
// `failed` (when given) tells whether the stream failed.
inline std::unique_ptr<DS_2D_Light> ReadRenderer(std::vector<uint8_t> bytes,
                                                 bool* failed = nullptr) {
  ReadArchive source(std::move(bytes));
  auto renderer = ReadByName(source.archive(), GetRendererRegistry());
  if (failed != nullptr) *failed = source.archive().Failed();
  EXPECT_EQ(source.Remaining(), 0u);
  return renderer;
}

// The largest difference of any channel between two frames.
inline int MaxDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  int most = 0;
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
    for (int shift = 0; shift < 32; shift += 8)
      most = std::max(most, std::abs(int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF)));
  return most;
}

// What `save` writes.
template <class Save>
std::vector<uint8_t> Written(Save save) {
  auto writer = std::make_unique<DS_IOF_W>();
  DS_IOF_W& w = *writer;
  DS_IOF_Archive archive(std::move(writer));
  save(archive);
  return w.Bytes();
}

}  // namespace renderer_test
