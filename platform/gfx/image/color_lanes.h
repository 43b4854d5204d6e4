#pragma once

// A Color4 as one four-lane register where the machine has them (SSE2), so that the filters and
// format conversions work on a whole pixel per instruction. Each lane does the same operations
// in the same order as the scalar code would, so results are the same bit for bit.
#include <cstdint>
#include <cstring>

#include "platform/gfx/image/float_image.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace gfx::image {

#if defined(__SSE2__)

struct Lanes {
  __m128 v;
};
inline Lanes Zero() {
  return {_mm_setzero_ps()};
}
inline Lanes Load(const Color4& c) {
  return {_mm_loadu_ps(&c.r)};
}
inline void Store(Lanes l, Color4& c) {
  _mm_storeu_ps(&c.r, l.v);
}
// sum + c * w, rounded after the product and after the sum, as the scalar expression is.
inline Lanes AddScaled(Lanes sum, Lanes c, float w) {
  return {_mm_add_ps(sum.v, _mm_mul_ps(c.v, _mm_set1_ps(w)))};
}
// Four bytes B, G, R, A as the colour byte / 255 per channel.
inline Color4 FromBgra(const uint8_t* p) {
  int32_t word;
  std::memcpy(&word, p, 4);
  const __m128i zero = _mm_setzero_si128();
  const __m128i ints = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(word), zero), zero);
  // B G R A -> R G B A
  const __m128 bgra = _mm_div_ps(_mm_cvtepi32_ps(ints), _mm_set1_ps(255.0f));
  Color4 c;
  _mm_storeu_ps(&c.r, _mm_shuffle_ps(bgra, bgra, _MM_SHUFFLE(3, 0, 1, 2)));
  return c;
}
// The four channel bytes of ToBgra as 32-bit lanes B, G, R, A.
inline __m128i BgraLanes(const Color4& c) {
  __m128 v = _mm_loadu_ps(&c.r);
  v = _mm_max_ps(v, _mm_setzero_ps());  // the second operand where v is NaN
  v = _mm_min_ps(v, _mm_set1_ps(1.0f));
  v = _mm_add_ps(_mm_mul_ps(v, _mm_set1_ps(255.0f)), _mm_set1_ps(0.5f));
  return _mm_shuffle_epi32(_mm_cvttps_epi32(v), _MM_SHUFFLE(3, 0, 1, 2));
}
// A colour as bytes B, G, R, A: each channel clamped to [0, 1] (NaN and -inf to 0, +inf to 1),
// times 255, rounded half up.
inline void ToBgra(const Color4& c, uint8_t* p) {
  const __m128i lanes = BgraLanes(c);
  const __m128i words = _mm_packs_epi32(lanes, lanes);
  const int32_t bytes = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
  std::memcpy(p, &bytes, 4);
}
// ToBgra over `count` pixels, four at a time; `opaque` stores alpha 255.
inline void ToBgraRow(const Color4* in, uint32_t count, bool opaque, uint8_t* out) {
  const __m128i alpha = _mm_set1_epi32(opaque ? int32_t(0xFF000000u) : 0);
  uint32_t x = 0;
  for (; x + 4 <= count; x += 4, out += 16) {
    const __m128i low = _mm_packs_epi32(BgraLanes(in[x]), BgraLanes(in[x + 1]));
    const __m128i high = _mm_packs_epi32(BgraLanes(in[x + 2]), BgraLanes(in[x + 3]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                     _mm_or_si128(_mm_packus_epi16(low, high), alpha));
  }
  for (; x < count; ++x, out += 4) {
    ToBgra(in[x], out);
    if (opaque) out[3] = 255;
  }
}

#else

struct Lanes {
  Color4 v;
};
inline Lanes Zero() {
  return {};
}
inline Lanes Load(const Color4& c) {
  return {c};
}
inline void Store(Lanes l, Color4& c) {
  c = l.v;
}
inline Lanes AddScaled(Lanes sum, Lanes c, float w) {
  sum.v.r += c.v.r * w, sum.v.g += c.v.g * w, sum.v.b += c.v.b * w, sum.v.a += c.v.a * w;
  return sum;
}
inline Color4 FromBgra(const uint8_t* p) {
  return {p[2] / 255.0f, p[1] / 255.0f, p[0] / 255.0f, p[3] / 255.0f};
}
inline void ToBgra(const Color4& c, uint8_t* p) {
  auto byte = [](float f) {
    f = f > 0.0f ? f : 0.0f;
    f = f < 1.0f ? f : 1.0f;
    return uint8_t(f * 255.0f + 0.5f);
  };
  p[0] = byte(c.b), p[1] = byte(c.g), p[2] = byte(c.r), p[3] = byte(c.a);
}
inline void ToBgraRow(const Color4* in, uint32_t count, bool opaque, uint8_t* out) {
  for (uint32_t x = 0; x < count; ++x, out += 4) {
    ToBgra(in[x], out);
    if (opaque) out[3] = 255;
  }
}

#endif

}  // namespace gfx::image
