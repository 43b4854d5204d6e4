// Decoding a 4096 x 4096 JPEG and PNG through the player's decoder (DecodePicture: rows of
// 0xAARRGGBB words, with its size checks and error handling) against the library's own plain
// decode of the same bytes (libjpeg-turbo to RGB, libpng rows as stored), in the same run. Each
// benchmark reports both times per picture and their ratio (ours / library); the target is a
// ratio of at most 1.2.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <csetjmp>
#include <cstring>
#include <vector>

#include "plain_jpeg.h"
#include "platform/gfx/image/picture_decoder.h"
#include "platform/gfx_image/library_pictures.h"
#include "ratio_counters.h"

namespace {

using Clock = std::chrono::steady_clock;
using gfx_image_test::Words;

constexpr int kSize = 4096;

// A photo-like picture: smooth colour fields with a little grain.
Words Photo() {
  Words out(size_t(kSize) * kSize);
  uint32_t seed = 12345;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const int grain = int(seed >> 28) - 8;
      auto channel = [&](int v) { return uint32_t(std::clamp(v + grain, 0, 255)); };
      out[size_t(y) * kSize + x] = 0xFF000000u | channel(x / 16) << 16 | channel(y / 16) << 8 |
                                   channel(((x + y) / 32) ^ 0x55);
    }
  return out;
}

struct Files {
  std::vector<uint8_t> jpeg, png;
  Files() {
    const Words photo = Photo();
    jpeg = gfx_image_test::LibJpeg(kSize, kSize, photo, {.quality = 90});
    // An RGB PNG of the same picture.
    png = gfx_image_test::WritePng({kSize, kSize}, [&](int y, uint8_t* row) {
      for (int x = 0; x < kSize; ++x) {
        const uint32_t p = photo[size_t(y) * kSize + x];
        row[3 * x] = uint8_t(p >> 16), row[3 * x + 1] = uint8_t(p >> 8),
                row[3 * x + 2] = uint8_t(p);
      }
    });
  }
};

const Files& TheFiles() {
  static const Files files;
  return files;
}

// libpng's plain decode: rows as stored, without transformations.
bool PlainPng(const std::vector<uint8_t>& file, std::vector<uint8_t>& out) {
  struct Reader {
    const std::vector<uint8_t>* bytes;
    size_t at = 0;
  } reader{&file};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &reader, [](png_structp p, png_bytep data, size_t n) {
    auto* r = static_cast<Reader*>(png_get_io_ptr(p));
    if (n > r->bytes->size() - r->at) png_error(p, "truncated");
    std::memcpy(data, r->bytes->data() + r->at, n);
    r->at += n;
  });
  png_read_info(png, info);
  const size_t stride = png_get_rowbytes(png, info);
  const uint32_t height = png_get_image_height(png, info);
  out.resize(stride * height);
  for (uint32_t y = 0; y < height; ++y)
    png_read_row(png, out.data() + stride * y, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

void Compare(benchmark::State& state, const std::vector<uint8_t>& file,
             bool (*plain)(const std::vector<uint8_t>&, std::vector<uint8_t>&)) {
  double ours = 0, library = 0;
  for (auto _ : state) {
    std::vector<uint8_t> buffer;  // a new picture each time, as ours is
    auto t0 = Clock::now();
    const auto picture = gfx::image::DecodePicture(file);
    auto t1 = Clock::now();
    const bool ok = plain(file, buffer);
    auto t2 = Clock::now();
    if (!picture || !ok) {
      state.SkipWithError("not decoded");
      return;
    }
    benchmark::DoNotOptimize(picture->argb.data());
    benchmark::DoNotOptimize(buffer.data());
    ours += std::chrono::duration<double>(t1 - t0).count();
    library += std::chrono::duration<double>(t2 - t1).count();
  }
  ReportRatio(state, "ours_ms", ours, "library_ms", library);
  state.counters["file_kb"] = double(file.size()) / 1024;
}

void BM_Jpeg4096(benchmark::State& state) {
  Compare(state, TheFiles().jpeg, PlainJpeg);
}
void BM_Png4096(benchmark::State& state) {
  Compare(state, TheFiles().png, PlainPng);
}

BENCHMARK(BM_Jpeg4096)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Png4096)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
