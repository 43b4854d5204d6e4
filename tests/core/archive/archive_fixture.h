#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <vector>

#include "core/archive/ds_iof_archive.h"
#include "core/archive/ds_iof_r.h"
#include "core/archive/resource_buffer.h"

// Bytes for a test, written either to a real file or kept in memory, and read back through the
// same set-up the player uses: a ResourceBuffer, a reading stream over it and an archive.
enum class SourceMode { File, Memory };

inline const char* ModeName(SourceMode m) {
  return m == SourceMode::File ? "File" : "Memory";
}
inline void PrintTo(SourceMode m, std::ostream* os) {
  *os << ModeName(m);
}

class ArchiveSource {
 public:
  ArchiveSource(SourceMode mode, std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {
    if (mode == SourceMode::File) {
      static int counter = 0;
      path_ = std::filesystem::temp_directory_path() /
              ("archive_test_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
      std::ofstream(path_, std::ios::binary)
          .write(reinterpret_cast<const char*>(bytes_.data()),
                 static_cast<std::streamsize>(bytes_.size()));
      EXPECT_TRUE(buffer_.Open(path_)) << buffer_.FailureReason();
    } else {
      buffer_.SetMemory(bytes_.data(), bytes_.size());
    }
    archive_ =
        std::make_unique<DS_IOF_Archive>(std::make_unique<DS_IOF_R<ResourceBuffer>>(&buffer_));
  }
  ~ArchiveSource() {
    archive_.reset();
    if (!path_.empty()) std::filesystem::remove(path_);
  }

  ResourceBuffer& buffer() { return buffer_; }
  DS_IOF_Archive& archive() { return *archive_; }
  DS_IOF_Virtual& io() { return archive_->io(); }
  // Bytes consumed so far.
  uint64_t Consumed() const { return bytes_.size() - buffer_.Remaining(); }

 private:
  std::vector<uint8_t> bytes_;
  std::filesystem::path path_;
  ResourceBuffer buffer_;
  std::unique_ptr<DS_IOF_Archive> archive_;
};

inline std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<uint8_t> out;
  for (int v : values)
    out.push_back(static_cast<uint8_t>(v));
  return out;
}

inline void Append(std::vector<uint8_t>& out, const std::vector<uint8_t>& more) {
  out.insert(out.end(), more.begin(), more.end());
}

inline void AppendUnits(std::vector<uint8_t>& out, std::u16string_view units) {
  for (char16_t u : units) {
    out.push_back(static_cast<uint8_t>(u & 0xFF));
    out.push_back(static_cast<uint8_t>(u >> 8));
  }
}
