#pragma once

#include <cstdint>
#include <vector>

// The texels of the glass ball's own textures, made without the device.

inline constexpr uint32_t kLensMapSize = 256;
inline constexpr uint32_t kDiscMaskSize = 1024;
inline constexpr uint32_t kGradientSize = 256;

// The lens map, V16U16 rows from the top: for every texel the slopes (du, dv) of a hemisphere of
// radius 128 texels towards its right and lower neighbours (the last column and row compare with
// themselves), as trunc(atan(height difference) x 51200 / pi); 0 outside the hemisphere's disc.
// Two values per texel, du first.
std::vector<int16_t> LensBumpTexels();

// The disc mask, A8 rows from the top: 0 within 508 texels of the centre (512, 512), 255 outside,
// so that what is drawn through it covers the corners of the ball's quad and leaves the ball.
std::vector<uint8_t> DiscMaskTexels();

// The gradient, A8R8G8B8 rows from the top with alpha 0: row i blends the COLORREF colours `top`
// (0x00BBGGRR, row 0) and `bottom` (row 255), each channel trunc((bottom - top) x i / 255 + top).
std::vector<uint32_t> GradientTexels(uint32_t top, uint32_t bottom);
