#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/archive/ds_iof_archive.h"
#include "core/archive/ds_iof_w.h"
#include "core/picture/frame_list.h"

// A frame holding a copy of `bytes`.
inline PictureFrame Frame(const std::vector<uint8_t>& bytes, float delay) {
  return PictureFrame{SharedBytes::CopyOf(bytes), delay, {}};
}

// A frame container: the tag, the stored string `name` and a frame list.
inline std::vector<uint8_t> Container(const std::vector<PictureFrame>& frames,
                                      zkw_string name = u"IMG") {
  DS_IOF_Archive archive(std::make_unique<DS_IOF_W>());
  archive.io().WriteBytes(5, kFrameContainerTag);
  archive.io().WriteWideString(name);
  WriteFrameList(archive, frames);
  return static_cast<DS_IOF_W&>(archive.io()).Bytes();
}
