#include "platform/gfx/image/dds_writer.h"

#include "platform/gfx/image/d3dx_texture.h"
#include "platform/gfx/texture_format.h"
#include "platform/gfx_image/image_fixture.h"
#include "platform/gfx_image/picture_bytes.h"

namespace gfx_image_test {
namespace {

using namespace gfx;
using image::DdsImage;

TEST(DdsWriter, EveryReadableFormatReadsBackWithItsLevels) {
  for (Format format : {Format::A8R8G8B8, Format::X8R8G8B8, Format::A8, Format::V8U8,
                        Format::V16U16, Format::Dxt1, Format::Dxt3, Format::Dxt5}) {
    SCOPED_TRACE(uint32_t(format));
    for (uint32_t levels : {1u, 3u}) {
      DdsImage picture{format, 8, 4, {}};
      for (uint32_t i = 0; i < levels; ++i)
        picture.levels.push_back(PackedLevel(format, 8 >> i, std::max(1u, 4u >> i), uint8_t(i)));
      const std::vector<uint8_t> file = image::WriteDds(picture);
      std::string error;
      const auto read = image::ReadDds(file, &error);
      ASSERT_TRUE(read.has_value()) << error;
      EXPECT_EQ(read->format, format);
      EXPECT_EQ(read->width, 8u);
      EXPECT_EQ(read->height, 4u);
      EXPECT_EQ(read->levels, picture.levels);
    }
  }
}

TEST(DdsWriter, PicturesWithoutADdsFormWriteNothing) {
  const DdsImage good{Format::V8U8, 4, 4, {PackedLevel(Format::V8U8, 4, 4, 0)}};
  ASSERT_FALSE(image::WriteDds(good).empty());
  struct Case {
    const char* what;
    DdsImage picture;
  } cases[] = {
      {"format", {Format::D24S8, 4, 4, {PackedLevel(Format::A8R8G8B8, 4, 4, 0)}}},
      {"no width", {Format::V8U8, 0, 4, {{}}}},
      {"too wide", {Format::A8, image::kMaxPictureSize + 1, 1, {}}},
      {"no levels", {Format::V8U8, 4, 4, {}}},
      {"short level", {Format::V8U8, 4, 4, {std::vector<uint8_t>(31)}}},
      {"levels past the chain",
       {Format::A8, 1, 1, {std::vector<uint8_t>(1), std::vector<uint8_t>(1)}}},
  };
  for (const Case& c : cases)
    EXPECT_TRUE(image::WriteDds(c.picture).empty()) << c.what;
}

class SaveTexture : public ImageTest {};

TEST_F(SaveTexture, ABumpMapAndARenderTargetLoadBackAsTheyAre) {
  const std::vector<uint8_t> texels = PackedLevel(Format::V8U8, 4, 2, 5);
  ComPtr<Texture> bump;
  ASSERT_EQ(device_->CreateTexture(4, 2, 1, 0, Format::V8U8, Pool::Managed, bump.Put()), kOk);
  ASSERT_EQ(bump->WriteLevel(0, texels.data(), 8), kOk);

  ComPtr<Texture> target;
  ASSERT_EQ(device_->CreateTexture(4, 4, 1, Usage::RenderTarget, Format::A8R8G8B8, Pool::Default,
                                   target.Put()),
            kOk);
  ComPtr<Surface> surface;
  ASSERT_EQ(target->GetSurfaceLevel(0, surface.Put()), kOk);
  ASSERT_EQ(device_->SetRenderTarget(0, surface.Get()), kOk);
  ASSERT_EQ(device_->Clear(0, nullptr, ClearFlags::Target, 0x80FF2010, 1, 0), kOk);

  for (Texture* texture : {bump.Get(), target.Get()}) {
    std::vector<uint8_t> file;
    ASSERT_EQ(image::SaveTextureAsDds(texture, &file), kOk);
    ComPtr<Texture> loaded;
    ASSERT_EQ(D3DXCreateTextureFromFileInMemoryEx(device_.Get(), file.data(), uint32_t(file.size()),
                                                  D3DX_DEFAULT_NONPOW2, D3DX_DEFAULT_NONPOW2, 1, 0,
                                                  Format::Unknown, Pool::Managed, D3DX_FILTER_NONE,
                                                  D3DX_FILTER_NONE, 0, nullptr, loaded.Put()),
              kOk);
    EXPECT_EQ(loaded->GetFormat(), texture->GetFormat());
    std::vector<uint8_t> before, after;
    uint32_t pitch = 0;
    ASSERT_EQ(texture->ReadLevel(0, &before, &pitch), kOk);
    ASSERT_EQ(loaded->ReadLevel(0, &after, &pitch), kOk);
    EXPECT_EQ(after, before);
  }
  EXPECT_EQ(image::SaveTextureAsDds(bump.Get(), nullptr), kInvalidCall);
  std::vector<uint8_t> file{1, 2, 3};
  EXPECT_EQ(image::SaveTextureAsDds(nullptr, &file), kInvalidCall);
  EXPECT_TRUE(file.empty());
}

}  // namespace
}  // namespace gfx_image_test
