#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/archive/data_records.h"
#include "core/zkw_string.h"

// The byte source under an archive: an input file, or a block of memory of known length.
//
// Reads never report errors. A read that runs past the end delivers the bytes that remain into
// the front of its destination and fails the source; once failed, every read delivers nothing,
// so a truncated project reads as the defaults its readers preset. Lengths and counts that are
// larger than what remains fail the source before anything is allocated.
class ResourceBuffer {
 public:
  ResourceBuffer() = default;
  ResourceBuffer(const ResourceBuffer&) = delete;
  ResourceBuffer& operator=(const ResourceBuffer&) = delete;

  // File mode. Answers whether the file could be opened; when it could not, FailureReason says
  // why.
  [[nodiscard]] bool Open(const std::filesystem::path& path);
  // Memory mode over [data, data + size); the memory must outlive the reads.
  void SetMemory(const void* data, size_t size);

  bool IsMemory() const { return cur_ != nullptr; }
  bool IsOpen() const { return IsMemory() || file_.is_open(); }
  bool Failed() const { return failed_; }
  // Fails the source for `reason` (words for a log, such as "no class is registered as ...");
  // the first failure's reason is kept, with the byte it was met at.
  void Fail(std::string_view reason);
  // Why the source failed or could not be opened; empty while it has not.
  const std::string& FailureReason() const { return reason_; }
  // Bytes read so far.
  uint64_t Position() const;
  // Bytes that a read can still deliver (0 once failed or when nothing is open).
  uint64_t Remaining() const;
  // The next unread byte in memory mode, null otherwise.
  const uint8_t* Cursor() const { return cur_; }

  // Copies up to `count` bytes; answers how many were delivered (fewer fails the source).
  size_t ReadRaw(void* out, size_t count);

  void ReadWideString(zkw_string& out);
  void ReadNarrowString(std::string& out);
  void ReadDword(uint32_t& out) { ReadRaw(&out, sizeof out); }
  void ReadFileData(FileDataRecord& out);
  void ReadResourceRecord(ResourceDataRecord& out);
  // A uint32 count, then that many uint32 values.
  void ReadDwordVector(std::vector<uint32_t>& out);

 private:
  // Reads the length that follows a string's marker: a byte, escaping to 16 and then 32 bits.
  bool ReadLength(uint32_t& n);
  // Fails the source when fewer than `bytes` remain.
  bool Require(uint64_t bytes);
  // Bytes in the whole source.
  uint64_t Size() const;
  // Fails the source with a complete reason (kept when it is the first).
  void FailWith(std::string reason);

  std::ifstream file_;
  uint64_t fileSize_ = 0;
  uint64_t filePos_ = 0;
  const uint8_t* begin_ = nullptr;
  const uint8_t* cur_ = nullptr;
  const uint8_t* end_ = nullptr;
  bool failed_ = false;
  std::string reason_;
};
