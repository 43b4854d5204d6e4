#include <filesystem>

#include "platform/gfx/image/d3dx_texture.h"
#include "platform/gfx/texture_format.h"
#include "platform/gfx_image/image_fixture.h"
#include "platform/gfx_image/picture_bytes.h"

namespace gfx_image_test {
namespace {

using namespace gfx;

// Level `level` of a texture as 0xAARRGGBB words (A8R8G8B8 or X8R8G8B8 textures).
Words LevelPixels(Texture* t, uint32_t level = 0) {
  std::vector<uint8_t> bytes;
  uint32_t pitch = 0;
  EXPECT_EQ(t->ReadLevel(level, &bytes, &pitch), kOk);
  SurfaceDesc d;
  EXPECT_EQ(t->GetLevelDesc(level, &d), kOk);
  Words out(size_t(d.width) * d.height);
  for (uint32_t y = 0; y < d.height; ++y)
    std::memcpy(&out[size_t(y) * d.width], &bytes[size_t(y) * pitch], d.width * 4);
  return out;
}

std::vector<uint8_t> LevelBytes(Texture* t, uint32_t level = 0) {
  std::vector<uint8_t> bytes;
  uint32_t pitch = 0;
  EXPECT_EQ(t->ReadLevel(level, &bytes, &pitch), kOk);
  return bytes;
}

class PictureTest : public ImageTest {
 protected:
  HResult Load(const std::vector<uint8_t>& file, uint32_t filter, uint32_t levels,
               D3DXIMAGE_INFO* info, ComPtr<Texture>* out, Format format = Format::Unknown,
               uint32_t mipFilter = D3DX_FILTER_NONE) {
    return D3DXCreateTextureFromFileInMemoryEx(
        device_.Get(), file.data(), uint32_t(file.size()), D3DX_DEFAULT, D3DX_DEFAULT, levels, 0,
        format, Pool::Managed, filter, mipFilter, 0, info, out->Put());
  }
};

// A picture whose pixels say where they are: red = x, green = y, blue 0x80.
Words Ramp(int width, int height, uint32_t alpha = 0xFF) {
  Words p;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      p.push_back(alpha << 24 | uint32_t(x & 0xFF) << 16 | uint32_t(y & 0xFF) << 8 | 0x80);
  return p;
}

TEST_F(PictureTest, FilterNonePutsThePictureInTheCornerOfAPowerOfTwoTexture) {
  const auto png = EncodePicture(FileKind::Png, 300, 200, 4, Ramp(300, 200, 0xC0));
  D3DXIMAGE_INFO info;
  ComPtr<Texture> t;
  ASSERT_EQ(Load(png, D3DX_FILTER_NONE, 1, &info, &t), kOk);
  EXPECT_EQ(info.Width, 300u);
  EXPECT_EQ(info.Height, 200u);
  EXPECT_EQ(info.Format, Format::A8R8G8B8);
  EXPECT_EQ(info.ImageFileFormat, D3DXIMAGE_FILEFORMAT::PNG);
  ASSERT_EQ(t->Width(), 512u);
  ASSERT_EQ(t->Height(), 256u);
  EXPECT_EQ(t->GetLevelCount(), 1u);
  EXPECT_EQ(t->GetFormat(), Format::A8R8G8B8);
  // The part of the texture the picture uses.
  EXPECT_EQ(float(info.Width) / float(t->Width()), 0.5859375f);
  EXPECT_EQ(float(info.Height) / float(t->Height()), 0.78125f);

  const Words px = LevelPixels(t.Get());
  EXPECT_EQ(px[0], 0xC0000080u);
  EXPECT_EQ(px[199 * 512 + 299], 0xC0000080u | 299 % 256 << 16 | 199 << 8);
  EXPECT_EQ(px[0 * 512 + 300], 0u);  // right of the picture: transparent black
  EXPECT_EQ(px[200 * 512 + 0], 0u);  // below it
  EXPECT_EQ(px[255 * 512 + 511], 0u);
}

TEST_F(PictureTest, FilterTriangleResamplesToFillTheTexture) {
  // Left half black, right half white: the texture keeps that split across its whole width.
  Words p;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x)
      p.push_back(x < 15 ? 0xFF000000 : 0xFFFFFFFF);
  const auto bmp = EncodePicture(FileKind::Bmp, 30, 20, 3, p);
  D3DXIMAGE_INFO info;
  ComPtr<Texture> t;
  ASSERT_EQ(Load(bmp, D3DX_FILTER_TRIANGLE, 1, &info, &t), kOk);
  EXPECT_EQ(info.ImageFileFormat, D3DXIMAGE_FILEFORMAT::BMP);
  EXPECT_EQ(info.Format, Format::X8R8G8B8);
  ASSERT_EQ(t->Width(), 32u);
  ASSERT_EQ(t->Height(), 32u);
  const Words px = LevelPixels(t.Get());
  for (uint32_t y : {0u, 16u, 31u}) {
    EXPECT_EQ(px[y * 32 + 0], 0xFF000000u);
    EXPECT_EQ(px[y * 32 + 31], 0xFFFFFFFFu);
    // The edge falls between pixels 15 and 16, which mix a little of the other side.
    EXPECT_LT(px[y * 32 + 15] & 0xFF, 0x40u);
    EXPECT_GT(px[y * 32 + 16] & 0xFF, 0xC0u);
    for (uint32_t x = 1; x < 32; ++x)
      EXPECT_GE(px[y * 32 + x] & 0xFF, px[y * 32 + x - 1] & 0xFF);
  }
}

TEST_F(PictureTest, PicturesWiderThanTheDeviceAreScaledDownToIt) {
  // 6000 x 3, a grey ramp from black to white: rounded up to 8192, past the device's 4096.
  const uint32_t w = 6000, h = 3;
  Words p;
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x)
      p.push_back(0xFF000000u | (x * 255 / (w - 1)) * 0x010101u);
  const auto png = EncodePicture(FileKind::Png, int(w), int(h), 1, p);
  D3DXIMAGE_INFO info;
  ComPtr<Texture> t;
  ASSERT_EQ(Load(png, D3DX_FILTER_TRIANGLE, 1, &info, &t), kOk);
  EXPECT_EQ(info.Width, w);  // the file's size, as it is
  EXPECT_EQ(info.Height, h);
  ASSERT_EQ(t->Width(), 4096u);
  ASSERT_EQ(t->Height(), 4u);
  Words px = LevelPixels(t.Get());
  // The whole ramp fills the texture.
  EXPECT_EQ(px[0], 0xFF000000u);
  EXPECT_EQ(px[4095], 0xFFFFFFFFu);
  EXPECT_TRUE(gfx_test::ColorNear(px[3 * 4096 + 2048], 0xFF808080, 1));
  for (uint32_t x = 1; x < 4096; ++x)
    ASSERT_GE(px[x] & 0xFF, px[x - 1] & 0xFF) << x;

  // Filter NONE keeps the part that fits: the left 4096 columns, unscaled.
  ASSERT_EQ(Load(png, D3DX_FILTER_NONE, 1, &info, &t), kOk);
  px = LevelPixels(t.Get());
  for (uint32_t x : {0u, 1000u, 4095u})
    EXPECT_EQ(px[x], p[x]) << x;
  EXPECT_EQ(px[3 * 4096], 0xFF000000u);  // below the picture: black (X8R8G8B8 is opaque)
}

TEST_F(PictureTest, FullMipChainAveragesEachLevelFromTheOneAbove) {
  // 2 x 2 checks of four colours: level 1 is their average, and so on down to 1 x 1.
  const Words p = {0xFF000000, 0xFF0000FF, 0xFF00FF00, 0xFFFF0000};
  const auto tga = EncodePicture(FileKind::Tga, 2, 2, 4, p);
  D3DXIMAGE_INFO info;
  ComPtr<Texture> t;
  ASSERT_EQ(D3DXCreateTextureFromFileInMemoryEx(device_.Get(), tga.data(), uint32_t(tga.size()), 8,
                                                8, D3DX_DEFAULT, 0, Format::Unknown, Pool::Managed,
                                                D3DX_FILTER_POINT, D3DX_DEFAULT, 0, &info, t.Put()),
            kOk);
  EXPECT_EQ(info.ImageFileFormat, D3DXIMAGE_FILEFORMAT::TGA);
  ASSERT_EQ(t->GetLevelCount(), 4u);  // 8, 4, 2, 1
  EXPECT_EQ(LevelPixels(t.Get(), 0)[0], 0xFF000000u);
  EXPECT_EQ(LevelPixels(t.Get(), 0)[7], 0xFF0000FFu);
  EXPECT_EQ(LevelPixels(t.Get(), 2), (Words{0xFF000000, 0xFF0000FF, 0xFF00FF00, 0xFFFF0000}));
  EXPECT_TRUE(gfx_test::ColorNear(LevelPixels(t.Get(), 3)[0], 0xFF404040, 1));
}

TEST_F(PictureTest, DecodedFormatFollowsAlpha) {
  struct Case {
    const char* name;
    std::vector<uint8_t> file;
    Format format;
    D3DXIMAGE_FILEFORMAT kind;
  };
  const Words four(4, 0x80FF8040);
  const Case cases[] = {
      {"png rgb", EncodePicture(FileKind::Png, 2, 2, 3, four), Format::X8R8G8B8,
       D3DXIMAGE_FILEFORMAT::PNG},
      {"png grey", EncodePicture(FileKind::Png, 2, 2, 1, four), Format::X8R8G8B8,
       D3DXIMAGE_FILEFORMAT::PNG},
      {"png grey alpha", EncodePicture(FileKind::Png, 2, 2, 2, four), Format::A8R8G8B8,
       D3DXIMAGE_FILEFORMAT::PNG},
      {"tga rgba", EncodePicture(FileKind::Tga, 2, 2, 4, four), Format::A8R8G8B8,
       D3DXIMAGE_FILEFORMAT::TGA},
      {"jpeg", EncodePicture(FileKind::Jpg, 2, 2, 3, four), Format::X8R8G8B8,
       D3DXIMAGE_FILEFORMAT::JPG},
      {"gif opaque", TwoPixelGif(false), Format::X8R8G8B8, D3DXIMAGE_FILEFORMAT::GIF},
      {"gif transparent", TwoPixelGif(true), Format::A8R8G8B8, D3DXIMAGE_FILEFORMAT::GIF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    D3DXIMAGE_INFO info;
    ComPtr<Texture> t;
    ASSERT_EQ(Load(c.file, D3DX_FILTER_NONE, 1, &info, &t), kOk);
    EXPECT_EQ(info.Format, c.format);
    EXPECT_EQ(t->GetFormat(), c.format);
    EXPECT_EQ(info.ImageFileFormat, c.kind);
  }
  // The GIF's pixels: red, then transparent black.
  D3DXIMAGE_INFO info;
  ComPtr<Texture> t;
  ASSERT_EQ(Load(TwoPixelGif(true), D3DX_FILTER_NONE, 1, &info, &t), kOk);
  EXPECT_EQ(LevelPixels(t.Get())[0], 0xFFFF0000u);
  EXPECT_EQ(LevelPixels(t.Get())[1], 0u);
}

TEST_F(PictureTest, CompressingToDxt1KeepsTransparentPixels) {
  // A GIF-like picture: opaque colours and fully transparent pixels, made DXT1.
  Words p(16 * 4, 0xFF3080F0);
  for (int i = 0; i < 16 * 4; i += 3)
    p[i] = 0;
  const auto png = EncodePicture(FileKind::Png, 16, 4, 4, p);
  D3DXIMAGE_INFO info;
  ComPtr<Texture> t;
  ASSERT_EQ(Load(png, D3DX_FILTER_NONE, 1, &info, &t, Format::Dxt1), kOk);
  ASSERT_EQ(t->GetFormat(), Format::Dxt1);
  const auto blocks = LevelBytes(t.Get());
  ASSERT_EQ(blocks.size(), 4u * 8);
  std::vector<uint8_t> bgra(16 * 4 * 4);
  DecodeDxt(Format::Dxt1, blocks.data(), 16, 4, bgra.data());
  for (int i = 0; i < 16 * 4; ++i) {
    uint32_t v;
    std::memcpy(&v, &bgra[4 * i], 4);
    if (i % 3 == 0)
      EXPECT_EQ(v, 0u) << i;
    else
      EXPECT_TRUE(gfx_test::ColorNear(v, 0xFF3080F0, 8)) << i;
  }
}

TEST_F(PictureTest, DdsKeepsItsFormatAndLevels) {
  for (Format format : {Format::A8R8G8B8, Format::X8R8G8B8, Format::A8, Format::V8U8,
                        Format::V16U16, Format::Dxt1, Format::Dxt3, Format::Dxt5}) {
    SCOPED_TRACE(uint32_t(format));
    const std::vector<std::vector<uint8_t>> levels = {
        PackedLevel(format, 8, 4, 1), PackedLevel(format, 4, 2, 2), PackedLevel(format, 2, 1, 3),
        PackedLevel(format, 1, 1, 4)};
    const auto dds = MakeDds(format, 8, 4, levels);
    D3DXIMAGE_INFO info;
    ComPtr<Texture> t;
    ASSERT_EQ(Load(dds, D3DX_FILTER_NONE, D3DX_DEFAULT, &info, &t), kOk);
    EXPECT_EQ(info.Format, format);
    EXPECT_EQ(info.ImageFileFormat, D3DXIMAGE_FILEFORMAT::DDS);
    EXPECT_EQ(info.MipLevels, 4u);
    ASSERT_EQ(t->GetFormat(), format);
    ASSERT_EQ(t->GetLevelCount(), 4u);
    for (uint32_t i = 0; i < 4; ++i) {
      std::vector<uint8_t> stored = LevelBytes(t.Get(), i);
      if (format == Format::X8R8G8B8) continue;  // the unused byte need not survive
      EXPECT_EQ(stored, levels[i]) << "level " << i;
    }
  }
}

TEST_F(PictureTest, DdsOfOddSizeGoesToTheCornerAndGetsItsMissingLevels) {
  // 10 x 3 DXT1 in a 16 x 4 texture: three blocks copied, the fourth transparent black.
  const auto level0 = PackedLevel(Format::Dxt1, 10, 3, 9);
  const auto dds = MakeDds(Format::Dxt1, 10, 3, {level0});
  D3DXIMAGE_INFO info;
  ComPtr<Texture> t;
  ASSERT_EQ(Load(dds, D3DX_FILTER_NONE, 1, &info, &t), kOk);
  ASSERT_EQ(t->Width(), 16u);
  ASSERT_EQ(t->Height(), 4u);
  std::vector<uint8_t> expected = level0;
  expected.insert(expected.end(), {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF});
  EXPECT_EQ(LevelBytes(t.Get()), expected);

  // An A8R8G8B8 picture without levels asked for with a full chain: the levels are made.
  Words p(4 * 4, 0x80402010);
  std::vector<uint8_t> bytes(p.size() * 4);
  std::memcpy(bytes.data(), p.data(), bytes.size());
  const auto argb = MakeDds(Format::A8R8G8B8, 4, 4, {bytes});
  ASSERT_EQ(Load(argb, D3DX_FILTER_NONE, D3DX_DEFAULT, &info, &t, Format::Unknown, D3DX_DEFAULT),
            kOk);
  ASSERT_EQ(t->GetLevelCount(), 3u);
  EXPECT_EQ(LevelPixels(t.Get(), 2), Words{0x80402010});
}

TEST_F(PictureTest, BadDataFailsAndLeavesTheInformationAlone) {
  const std::vector<uint8_t> truncatedDds = [] {
    auto d = MakeDds(Format::Dxt5, 8, 8, {PackedLevel(Format::Dxt5, 8, 8, 0)});
    d.resize(d.size() - 1);
    return d;
  }();
  const std::vector<std::vector<uint8_t>> bad = {
      {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'},
      truncatedDds,
      [] {
        auto png = EncodePicture(FileKind::Png, 4, 4, 3, Words(16, 0xFF000000));
        png.resize(png.size() / 2);
        return png;
      }(),
      // A TGA header claiming 16000 x 16000 pixels in a few bytes.
      {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80, 0x3E, 0x80, 0x3E, 32, 8, 1, 2, 3, 4},
  };
  for (const auto& file : bad) {
    D3DXIMAGE_INFO info;
    info.Width = 800;
    ComPtr<Texture> t;
    EXPECT_EQ(Load(file, D3DX_FILTER_TRIANGLE, 1, &info, &t), D3DXERR_INVALIDDATA);
    EXPECT_EQ(t.Get(), nullptr);
    EXPECT_EQ(info.Width, 800u);
  }
  ComPtr<Texture> t;
  EXPECT_EQ(D3DXCreateTextureFromFileInMemoryEx(
                device_.Get(), nullptr, 0, D3DX_DEFAULT, D3DX_DEFAULT, 1, 0, Format::Unknown,
                Pool::Managed, D3DX_FILTER_NONE, D3DX_FILTER_NONE, 0, nullptr, t.Put()),
            kInvalidCall);
  // A colour picture cannot become a bump map.
  const auto png = EncodePicture(FileKind::Png, 2, 2, 3, Words(4, 0xFF000000));
  EXPECT_EQ(Load(png, D3DX_FILTER_NONE, 1, nullptr, &t, Format::V8U8), kNotAvailable);
}

const char* const kModels = "/usr/share/assimp/models";

TEST_F(PictureTest, RealPngAndProgressiveJpeg) {
  struct Case {
    const char* file;
    D3DXIMAGE_FILEFORMAT kind;
    uint32_t size;
    std::vector<std::pair<uint32_t, uint32_t>> pixels;  // (y * size + x, colour)
  };
  const Case cases[] = {
      // Coloured squares with captions, white on the right.
      {"/X/test.png",
       D3DXIMAGE_FILEFORMAT::PNG,
       512,
       {{5 * 512 + 5, 0xFFFBBC31}, {5 * 512 + 300, 0xFF7DFC31}, {5 * 512 + 500, 0xFFFFFFFF}}},
      // A bright flare on black.
      {"/OBJ/engineflare1.jpg",
       D3DXIMAGE_FILEFORMAT::JPG,
       128,
       {{0, 0xFF070707}, {64 * 128 + 64, 0xFFF9F4F8}, {127 * 128 + 127, 0xFF070707}}},
  };
  for (const Case& c : cases) {
    const std::filesystem::path path = std::string(kModels) + c.file;
    if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is absent (assimp-testmodels)";
    SCOPED_TRACE(path.string());
    D3DXIMAGE_INFO info;
    ComPtr<Texture> t;
    ASSERT_EQ(D3DXCreateTextureFromFileExW(device_.Get(), path, D3DX_DEFAULT, D3DX_DEFAULT, 1, 0,
                                           Format::Unknown, Pool::Managed, D3DX_FILTER_TRIANGLE,
                                           D3DX_FILTER_NONE, 0, &info, t.Put()),
              kOk);
    EXPECT_EQ(info.ImageFileFormat, c.kind);
    EXPECT_EQ(info.Format, Format::X8R8G8B8);
    EXPECT_EQ(info.Width, c.size);
    EXPECT_EQ(info.Height, c.size);
    ASSERT_EQ(t->Width(), c.size);
    const Words px = LevelPixels(t.Get());
    for (auto [at, colour] : c.pixels)
      EXPECT_TRUE(gfx_test::ColorNear(px[at], colour, 4)) << at;
  }
}

}  // namespace
}  // namespace gfx_image_test
