#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/archive/ds_iof_archive.h"
#include "core/picture/shared_bytes.h"
#include "core/zkw_string.h"

// One frame of a picture: its encoded picture bytes, its display time in seconds and a name
// (the file name of a picture read from a file, else empty). No device object: geometry and
// scene objects keep pictures in this form, and the document makes textures of them.
struct PictureFrame {
  SharedBytes bytes;
  float delay = 0.0f;
  zkw_string name;
};

// The tag at the start of a multi-frame picture container: ":ZKW:", then the stored string
// "IMG", then a frame list.
inline constexpr uint8_t kFrameContainerTag[5] = {':', 'Z', 'K', 'W', ':'};

// Whether the bytes start with the container tag.
bool StartsWithContainerTag(std::span<const uint8_t> bytes);

// A frame list: Dword count, then per frame Int32 1, Dword size, the picture bytes and the Float
// delay.
void WriteFrameList(DS_IOF_Archive& archive, const std::vector<PictureFrame>& frames);
// Reads a frame list into `frames` (emptied first), the names empty. A count or size larger
// than the bytes that remain, or a size past SharedBytes::kMaxBytes, fails the stream before
// anything is allocated; the frames read completely stay.
void ReadFrameList(DS_IOF_Archive& archive, std::vector<PictureFrame>& frames);

// Parses a container held in memory. False, with `frames` unchanged, for a wrong tag, a string
// other than "IMG" or a frame list that does not fit in the bytes.
[[nodiscard]] bool ReadFrameContainer(std::span<const uint8_t> data,
                                      std::vector<PictureFrame>& frames);
