#pragma once

#include <cstdint>
#include <vector>

#include "core/archive/ds_iof_archive.h"
#include "core/archive/ds_iof_w.h"
#include "core/guid.h"
#include "core/picture/frame_fixture.h"
#include "core/picture/frame_list.h"

namespace document_test {

inline ResourceDataRecord Record(uint32_t id, zkw_string module, std::vector<uint8_t> bytes = {},
                                 zkw_string path = {}) {
  ResourceDataRecord r;
  r.resourceId = id;
  r.module = std::move(module);
  r.bytes = std::move(bytes);
  r.path = std::move(path);
  return r;
}

// Writes the sections of a document body in their stored forms.
class BodyWriter {
 public:
  struct RecordEntry {
    zkw_string name;
    int64_t id;
    std::vector<ResourceDataRecord> records;
  };
  struct DelayEntry {
    zkw_string name;
    int64_t id;
    std::vector<float> delays;
  };
  struct GuidEntry {
    GUID guid;
    zkw_string name;
    bool flag;
    std::vector<uint8_t> bytes;
  };
  struct FrameEntry {
    zkw_string name;
    int64_t id;
    std::vector<PictureFrame> frames;
  };

  BodyWriter& Records(const std::vector<RecordEntry>& entries) {
    io().WriteDword(uint32_t(entries.size()));
    for (const auto& e : entries) {
      io().WriteWideString(e.name);
      io().WriteInt64(e.id);
      io().WriteDword(uint32_t(e.records.size()));
      for (const auto& r : e.records)
        io().WriteResourceRecord(r);
    }
    return *this;
  }
  BodyWriter& Delays(const std::vector<DelayEntry>& entries) {
    io().WriteDword(uint32_t(entries.size()));
    for (const auto& e : entries) {
      io().WriteWideString(e.name);
      io().WriteInt64(e.id);
      io().WriteDword(uint32_t(e.delays.size()));
      for (float d : e.delays)
        io().WriteFloat(d);
    }
    return *this;
  }
  BodyWriter& Guids(const std::vector<GuidEntry>& entries) {
    io().WriteDword(uint32_t(entries.size()));
    for (const auto& e : entries) {
      archive_.WriteGuid(e.guid);
      io().WriteWideString(e.name);
      io().WriteBool(e.flag);
      FileDataRecord picture;
      picture.bytes = e.bytes;
      io().WriteFileData(picture);
    }
    return *this;
  }
  BodyWriter& Frames(const std::vector<FrameEntry>& entries) {
    io().WriteDword(uint32_t(entries.size()));
    for (const auto& e : entries) {
      io().WriteWideString(e.name);
      io().WriteInt64(e.id);
      WriteFrameList(archive_, e.frames);
    }
    return *this;
  }
  BodyWriter& Dword(uint32_t v) {
    io().WriteDword(v);
    return *this;
  }

  std::vector<uint8_t> Bytes() { return static_cast<DS_IOF_W&>(archive_.io()).Bytes(); }
  DS_IOF_Archive& Archive() { return archive_; }

 private:
  DS_IOF_Virtual& io() { return archive_.io(); }
  DS_IOF_Archive archive_{std::make_unique<DS_IOF_W>()};
};

}  // namespace document_test
