// PNG pictures through libpng. Its errors end in a longjmp back into the call that met them,
// which then fails with libpng's message: a damaged file gives the undecodable-picture result.
// Only C frames lie between setjmp and longjmp.
#include <png.h>

#include <bit>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/gfx/image/dds_reader.h"
#include "platform/gfx/image/picture_formats.h"

namespace gfx::image {

namespace {

static_assert(std::endian::native == std::endian::little,
              "rows are read as BGRA bytes, which are 0xAARRGGBB words on little-endian hosts");

// Largest ancillary chunk libpng keeps or inflates.
constexpr png_alloc_size_t kMaxChunkBytes = 8u << 20;

// Ancillary chunks the player has no use for: dropped unread (their decompression included).
constexpr png_byte kIgnoredChunks[] =
    "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0"
    "pHYs\0sBIT\0sCAL\0sPLT\0sRGB\0tEXt\0tIME\0zTXt";

class PngRows final : public PictureRows {
 public:
  explicit PngRows(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  ~PngRows() override { png_destroy_read_struct(&png_, &header_, nullptr); }
  PngRows(const PngRows&) = delete;
  PngRows& operator=(const PngRows&) = delete;

  bool Open() {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, this, OnError, OnWarning);
    if (png_) header_ = png_create_info_struct(png_);
    if (!png_ || !header_) {
      error_ = "out of memory";
      return false;
    }
    if (setjmp(png_jmpbuf(png_))) return Failed();
    png_set_read_fn(png_, this, ReadBytes);
    png_set_user_limits(png_, kMaxPictureSize, kMaxPictureSize);
    png_set_chunk_malloc_max(png_, kMaxChunkBytes);
    png_set_keep_unknown_chunks(png_, PNG_HANDLE_CHUNK_NEVER, kIgnoredChunks,
                                int(sizeof kIgnoredChunks / 5));
    // Checksums are not checked, as stb_image, which read projects' pictures before, did not.
    png_set_crc_action(png_, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#ifdef PNG_IGNORE_ADLER32
    png_set_option(png_, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
    png_set_benign_errors(png_, 1);
    png_read_info(png_, header_);

    const png_uint_32 width = png_get_image_width(png_, header_);
    const png_uint_32 height = png_get_image_height(png_, header_);
    if (!PlausiblePictureSize(width, height, bytes_.size())) {
      error_ = "picture too large";
      return false;
    }
    const int colorType = png_get_color_type(png_, header_);
    const bool transparency = png_get_valid(png_, header_, PNG_INFO_tRNS) != 0;
    // Every layout becomes 8-bit BGRA: 16-bit samples keep their high byte, grey spreads to
    // the three colours, a palette or a transparent colour key becomes alpha.
    png_set_strip_16(png_);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png_);
    if (!(colorType & PNG_COLOR_MASK_COLOR)) {
      png_set_expand_gray_1_2_4_to_8(png_);
      png_set_gray_to_rgb(png_);
    }
    if (transparency) png_set_tRNS_to_alpha(png_);
    info_.hasAlpha = (colorType & PNG_COLOR_MASK_ALPHA) || transparency;
    if (!info_.hasAlpha) png_set_filler(png_, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png_);
    interlaced_ = png_set_interlace_handling(png_) > 1;
    png_read_update_info(png_, header_);
    if (png_get_rowbytes(png_, header_) != size_t(width) * 4) {
      error_ = "unexpected row layout";
      return false;
    }
    info_.width = width;
    info_.height = height;
    info_.fileFormat = D3DXIMAGE_FILEFORMAT::PNG;
    return true;
  }

  bool Read(uint32_t* row) override {
    if (failed_) return false;
    if (y_ >= info_.height) {
      error_ = "no more rows";
      return false;
    }
    if (interlaced_) {
      // Passes of an interlaced picture spread over all its rows: decoded whole at once.
      if (whole_.empty() && !ReadWhole()) return false;
      std::memcpy(row, &whole_[size_t(y_++) * info_.width], size_t(info_.width) * 4);
      return true;
    }
    if (setjmp(png_jmpbuf(png_))) return Failed();
    png_read_row(png_, reinterpret_cast<png_bytep>(row), nullptr);
    ++y_;
    return true;
  }

 private:
  bool ReadWhole() {
    whole_.resize(size_t(info_.width) * info_.height);
    std::vector<png_bytep> rows(info_.height);
    for (uint32_t y = 0; y < info_.height; ++y)
      rows[y] = reinterpret_cast<png_bytep>(&whole_[size_t(y) * info_.width]);
    if (setjmp(png_jmpbuf(png_))) return Failed();
    png_read_image(png_, rows.data());
    return true;
  }

  bool Failed() {
    failed_ = true;
    error_ = message_;
    return false;
  }

  // Keeps the message in a fixed buffer: nothing here may throw through libpng's frames.
  static void OnError(png_structp png, png_const_charp message) {
    auto* self = static_cast<PngRows*>(png_get_error_ptr(png));
    std::snprintf(self->message_, sizeof self->message_, "%s", message ? message : "damaged");
    png_longjmp(png, 1);
  }
  static void OnWarning(png_structp, png_const_charp) {}

  static void ReadBytes(png_structp png, png_bytep out, size_t n) {
    auto* self = static_cast<PngRows*>(png_get_io_ptr(png));
    if (n > self->bytes_.size() - self->at_) png_error(png, "truncated picture");
    std::memcpy(out, self->bytes_.data() + self->at_, n);
    self->at_ += n;
  }

  std::span<const uint8_t> bytes_;
  size_t at_ = 0;
  png_structp png_ = nullptr;
  png_infop header_ = nullptr;
  bool interlaced_ = false;
  bool failed_ = false;
  uint32_t y_ = 0;
  std::vector<uint32_t> whole_;
  char message_[128] = "damaged picture";
};

}  // namespace

std::unique_ptr<PictureRows> OpenPng(std::span<const uint8_t> bytes, std::string* error) {
  auto rows = std::make_unique<PngRows>(bytes);
  if (!rows->Open()) {
    *error = rows->Error();
    return nullptr;
  }
  return rows;
}

}  // namespace gfx::image
