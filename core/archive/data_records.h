#pragma once

#include <cstdint>
#include <vector>

#include "core/zkw_string.h"

// A file stored inside an archive: the path it had when it was stored and its bytes.
struct FileDataRecord {
  zkw_string path;
  std::vector<uint8_t> bytes;

  uint32_t Size() const { return static_cast<uint32_t>(bytes.size()); }
  // A different path replaces the path and drops the bytes; an equal one changes nothing.
  void SetPath(const zkw_string& newPath) {
    if (newPath == path) return;
    bytes.clear();
    path = newPath;
  }
  friend bool operator==(const FileDataRecord&, const FileDataRecord&) = default;
};

// A resource stored inside an archive: the file part plus the module and id it came from.
struct ResourceDataRecord : FileDataRecord {
  uint32_t resourceId = 0;
  zkw_string module;

  friend bool operator==(const ResourceDataRecord&, const ResourceDataRecord&) = default;
};
