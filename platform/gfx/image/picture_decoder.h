#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/gfx/image/d3dx_image_types.h"

namespace gfx::image {

inline constexpr uint64_t kMaxPicturePixels = uint64_t(1) << 26;

// What a PNG, JPEG, BMP, TGA or GIF file (its first frame) says about its picture.
struct PictureInfo {
  uint32_t width = 0, height = 0;
  bool hasAlpha = false;  // the file stores alpha (a GIF: some pixel is not opaque)
  D3DXIMAGE_FILEFORMAT fileFormat = D3DXIMAGE_FILEFORMAT::BMP;
};

// A picture being decoded, handed out row by row from the top as 0xAARRGGBB words (A8R8G8B8
// bytes in memory), so that a large picture can be scaled down without being held whole.
// JPEG is decoded by libjpeg-turbo and PNG by libpng; BMP, TGA and GIF by stb_image.
class PictureRows {
 public:
  virtual ~PictureRows() = default;
  const PictureInfo& Info() const { return info_; }
  // Fills the next row (Info().width words); false, with the reason in Error(), when the data
  // turns out damaged or every row has been read.
  virtual bool Read(uint32_t* row) = 0;
  const std::string& Error() const { return error_; }

 protected:
  PictureInfo info_;
  std::string error_;
};

// Opens a picture: reads what precedes its pixels and checks its size before anything of that
// size is allocated. Nothing (with the reason in `error`) when the bytes are not one of the
// formats above or are damaged, when the picture is wider or higher than kMaxPictureSize, or
// when it has more pixels than kMaxPicturePixels or than its bytes can plausibly hold (4096 a
// byte, beyond the first million), so that a small file cannot claim a huge picture. The bytes
// must outlive the result.
std::unique_ptr<PictureRows> OpenPicture(std::span<const uint8_t> bytes,
                                         std::string* error = nullptr);

// A whole decoded picture.
struct Picture {
  uint32_t width = 0, height = 0;
  std::vector<uint32_t> argb;
  bool hasAlpha = false;
  D3DXIMAGE_FILEFORMAT fileFormat = D3DXIMAGE_FILEFORMAT::BMP;
};

// Opens and decodes a picture in full; nothing, with the reason in `error`, as OpenPicture or
// when a row cannot be decoded.
std::optional<Picture> DecodePicture(std::span<const uint8_t> bytes, std::string* error = nullptr);

}  // namespace gfx::image
