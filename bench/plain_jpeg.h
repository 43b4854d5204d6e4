#pragma once

// libjpeg-turbo's plain decode, the baseline of the picture benchmarks: its default RGB output,
// every row into one buffer.
#include <jpeglib.h>

#include <cstdint>
#include <vector>

inline bool PlainJpeg(const std::vector<uint8_t>& file, std::vector<uint8_t>& out) {
  jpeg_decompress_struct d;
  jpeg_error_mgr errors;
  d.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, file.data(), static_cast<unsigned long>(file.size()));
  jpeg_read_header(&d, TRUE);
  jpeg_start_decompress(&d);
  const size_t stride = size_t(d.output_width) * d.output_components;
  out.resize(stride * d.output_height);
  while (d.output_scanline < d.output_height) {
    JSAMPROW row = out.data() + stride * d.output_scanline;
    jpeg_read_scanlines(&d, &row, 1);
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  return true;
}
