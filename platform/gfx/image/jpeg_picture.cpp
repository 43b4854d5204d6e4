// JPEG pictures through libjpeg-turbo. Its errors end in a longjmp back into the call that met
// them, which then fails: libjpeg never exits the program, and a damaged file gives the
// undecodable-picture result. Only C frames lie between setjmp and longjmp.
//
// libjpeg could also decode at 1/2, 1/4 or 1/8 of the size in the DCT domain, but those pixels
// are not the D3DX filter's: large pictures are decoded in full, row by row, and scaled by the
// caller (ResampleRows), which holds only a few rows at a time.
#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include "platform/gfx/image/picture_formats.h"

#include <jpeglib.h>

namespace gfx::image {

namespace {

static_assert(std::endian::native == std::endian::little,
              "rows are read as BGRA bytes, which are 0xAARRGGBB words on little-endian hosts");

// Progressive scans one file may have: each one passes over the whole picture, so hostile
// files with thousands of scans would take minutes (libjpeg-turbo's own tools stop at 500).
constexpr int kMaxScans = 500;
// The coefficient buffers of progressive and multi-scan files (a 8192 x 8192 colour picture
// without subsampling needs 384 MiB); larger requests fail instead of allocating.
constexpr long kMaxDecoderMemory = 512L << 20;

struct ErrorManager {
  jpeg_error_mgr base;  // first: libjpeg hands out a pointer to it
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void Fail(j_common_ptr common) {
  auto* errors = reinterpret_cast<ErrorManager*>(common->err);
  errors->base.format_message(common, errors->message);
  std::longjmp(errors->jump, 1);
}

// Warnings of damaged data are not printed; libjpeg goes on as well as it can.
void Ignore(j_common_ptr, int) {}

void LimitScans(j_common_ptr common) {
  auto* decoder = reinterpret_cast<j_decompress_ptr>(common);
  if (decoder->progressive_mode && decoder->input_scan_number > kMaxScans) {
    auto* errors = reinterpret_cast<ErrorManager*>(common->err);
    std::snprintf(errors->message, sizeof errors->message, "more than %d scans", kMaxScans);
    std::longjmp(errors->jump, 1);
  }
}

// stb_image's product of two bytes, by which Adobe CMYK (stored inverted) becomes RGB.
uint32_t Blend(uint32_t x, uint32_t y) {
  const uint32_t t = x * y + 128;
  return (t + (t >> 8)) >> 8;
}

class JpegRows final : public PictureRows {
 public:
  JpegRows() {
    decoder_.err = jpeg_std_error(&errors_.base);
    errors_.base.error_exit = Fail;
    errors_.base.emit_message = Ignore;
    progress_.progress_monitor = LimitScans;
  }
  ~JpegRows() override {
    if (created_) jpeg_destroy_decompress(&decoder_);
  }
  JpegRows(const JpegRows&) = delete;
  JpegRows& operator=(const JpegRows&) = delete;

  bool Open(std::span<const uint8_t> bytes) {
    if (setjmp(errors_.jump)) return Failed();
    jpeg_create_decompress(&decoder_);
    created_ = true;
    decoder_.mem->max_memory_to_use = kMaxDecoderMemory;
    decoder_.progress = &progress_;
    jpeg_mem_src(&decoder_, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&decoder_, TRUE);
    if (!PlausiblePictureSize(decoder_.image_width, decoder_.image_height, bytes.size())) {
      error_ = "picture too large";
      return false;
    }
    cmyk_ = decoder_.jpeg_color_space == JCS_CMYK || decoder_.jpeg_color_space == JCS_YCCK;
    decoder_.out_color_space = cmyk_ ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_start_decompress(&decoder_);
    if (decoder_.output_width != decoder_.image_width ||
        decoder_.output_height != decoder_.image_height || decoder_.output_components != 4) {
      error_ = "unexpected output layout";
      return false;
    }
    info_.width = decoder_.output_width;
    info_.height = decoder_.output_height;
    info_.fileFormat = D3DXIMAGE_FILEFORMAT::JPG;
    return true;
  }

  bool Read(uint32_t* row) override {
    if (failed_) return false;
    if (decoder_.output_scanline >= decoder_.output_height) {
      error_ = "no more rows";
      return false;
    }
    if (setjmp(errors_.jump)) return Failed();
    JSAMPROW rows[] = {reinterpret_cast<JSAMPROW>(row)};
    if (jpeg_read_scanlines(&decoder_, rows, 1) != 1) {
      error_ = "row not decoded";
      failed_ = true;
      return false;
    }
    if (cmyk_) {
      const uint8_t* p = reinterpret_cast<const uint8_t*>(row);
      for (uint32_t x = 0; x < info_.width; ++x, p += 4) {
        const uint32_t k = p[3];
        row[x] = 0xFF000000u | Blend(p[0], k) << 16 | Blend(p[1], k) << 8 | Blend(p[2], k);
      }
    }
    return true;
  }

 private:
  bool Failed() {
    error_ = errors_.message;
    failed_ = true;
    return false;
  }

  jpeg_decompress_struct decoder_{};
  ErrorManager errors_{};
  jpeg_progress_mgr progress_{};
  bool created_ = false;
  bool cmyk_ = false;
  bool failed_ = false;
};

}  // namespace

std::unique_ptr<PictureRows> OpenJpeg(std::span<const uint8_t> bytes, std::string* error) {
  auto rows = std::make_unique<JpegRows>();
  if (!rows->Open(bytes)) {
    *error = rows->Error();
    return nullptr;
  }
  return rows;
}

}  // namespace gfx::image
