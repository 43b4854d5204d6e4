#include "core/picture/frame_list.h"

#include <algorithm>
#include <memory>
#include <string>

#include "core/archive/ds_iof_r.h"
#include "core/archive/resource_buffer.h"

namespace {

// Marker, size and delay of a frame.
constexpr uint64_t kFrameOverhead = 12;

}  // namespace

bool StartsWithContainerTag(std::span<const uint8_t> bytes) {
  return bytes.size() >= sizeof kFrameContainerTag &&
         std::equal(std::begin(kFrameContainerTag), std::end(kFrameContainerTag), bytes.begin());
}

void WriteFrameList(DS_IOF_Archive& archive, const std::vector<PictureFrame>& frames) {
  DS_IOF_Virtual& io = archive.io();
  io.WriteDword(static_cast<uint32_t>(frames.size()));
  for (const PictureFrame& frame : frames) {
    io.WriteInt32(1);
    io.WriteDword(frame.bytes.Count());
    io.WriteBytes(frame.bytes.Count(), frame.bytes.Data());
    io.WriteFloat(frame.delay);
  }
}

void ReadFrameList(DS_IOF_Archive& archive, std::vector<PictureFrame>& frames) {
  DS_IOF_Virtual& io = archive.io();
  uint32_t count = 0;
  io.ReadDword(count);
  frames.clear();
  if (!io.CountFits(count, kFrameOverhead)) {
    return;
  }
  for (uint32_t i = 0; i < count && !io.Failed(); ++i) {
    int32_t marker = 0;
    uint32_t size = 0;
    io.ReadInt32(marker);
    io.ReadDword(size);
    if (uint64_t{size} + sizeof(float) > io.Remaining()) {
      io.Fail("a frame of " + std::to_string(size) + " bytes passes the end of the data");
      return;
    }
    PictureFrame frame;
    if (!frame.bytes.Allocate(size)) {
      io.Fail("a frame of " + std::to_string(size) + " bytes cannot be allocated");
      return;
    }
    io.ReadBytes(size, frame.bytes.Data());
    io.ReadFloat(frame.delay);
    if (io.Failed()) return;
    frames.push_back(std::move(frame));
  }
}

bool ReadFrameContainer(std::span<const uint8_t> data, std::vector<PictureFrame>& frames) {
  if (!StartsWithContainerTag(data)) return false;
  ResourceBuffer buffer;
  buffer.SetMemory(data.data() + sizeof kFrameContainerTag,
                   data.size() - sizeof kFrameContainerTag);
  DS_IOF_Archive archive(std::make_unique<DS_IOF_R<ResourceBuffer>>(&buffer));
  zkw_string name;
  archive.io().ReadWideString(name);
  if (archive.Failed() || name != u"IMG") return false;
  std::vector<PictureFrame> read;
  ReadFrameList(archive, read);
  if (archive.Failed()) return false;
  frames = std::move(read);
  return true;
}
