#pragma once

// The decoders behind OpenPicture, one per library. Each answers a reader positioned before the
// first row, or nothing with the reason in `error`.
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/gfx/image/picture_decoder.h"

namespace gfx::image {

// Whether a picture of width x height is one the player takes from `bytes` bytes of file
// (the limits of OpenPicture).
bool PlausiblePictureSize(uint64_t width, uint64_t height, size_t bytes);

std::unique_ptr<PictureRows> OpenJpeg(std::span<const uint8_t> bytes, std::string* error);
std::unique_ptr<PictureRows> OpenPng(std::span<const uint8_t> bytes, std::string* error);
// BMP, TGA and GIF.
std::unique_ptr<PictureRows> OpenWithStb(std::span<const uint8_t> bytes, std::string* error);

}  // namespace gfx::image
