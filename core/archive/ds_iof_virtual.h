#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/archive/data_records.h"
#include "core/zkw_string.h"

using Int32Pair = std::array<int32_t, 2>;

// The typed stream behind every archive. Each write has a read of the same name that takes back
// exactly the bytes it stored (all numbers little-endian, floats as their IEEE-754 bytes).
// Writes do nothing here, so a reading stream simply ignores them; reads are the implementer's.
class DS_IOF_Virtual {
 public:
  virtual ~DS_IOF_Virtual() = default;

  virtual void WriteResourceRecord(const ResourceDataRecord&) {}
  virtual void WriteFileData(const FileDataRecord&) {}
  virtual void WriteWideString(const zkw_string&) {}
  virtual void WriteInt64(const int64_t&) {}
  virtual void WriteFloat(const float&) {}
  virtual void WriteInt32Pair(const Int32Pair&) {}
  virtual void WriteDword(const uint32_t&) {}
  virtual void WriteInt16(const int16_t&) {}
  virtual void WriteUInt32(const uint32_t&) {}
  virtual void WriteByte(const uint8_t&) {}
  virtual void WriteBool(const bool&) {}
  virtual void WriteInt32(const int32_t&) {}
  virtual void WriteBytes(uint32_t count, const void* data) {
    (void)count;
    (void)data;
  }

  virtual void ReadResourceRecord(ResourceDataRecord& out) = 0;
  virtual void ReadFileData(FileDataRecord& out) = 0;
  virtual void ReadNarrowString(std::string& out) = 0;
  virtual void ReadWideString(zkw_string& out) = 0;
  virtual void ReadUInt64(uint64_t& out) = 0;
  virtual void ReadInt64(int64_t& out) = 0;
  virtual void ReadFloat(float& out) = 0;
  virtual void ReadInt32Pair(Int32Pair& out) = 0;
  virtual void ReadDword(uint32_t& out) = 0;
  virtual void ReadInt16(int16_t& out) = 0;
  virtual void ReadUInt32(uint32_t& out) = 0;
  virtual void ReadByte(uint8_t& out) = 0;
  virtual void ReadBool(bool& out) = 0;
  virtual void ReadInt32(int32_t& out) = 0;
  virtual void ReadBytes(uint32_t count, void* out) = 0;

  // Whether a read has run out of data or met data it cannot follow. Every read after that
  // delivers nothing. A writing stream never fails.
  virtual bool Failed() const { return false; }
  // Stops reading here: used when the data can no longer be followed (an unknown class name).
  // `reason` says what was met, in words for a log.
  virtual void Fail(std::string_view reason) { (void)reason; }
  // Why the stream failed, with the byte it happened at; empty while it has not.
  virtual std::string FailureReason() const { return {}; }
  // Bytes a read can still deliver; lets readers check a stored count before allocating.
  virtual uint64_t Remaining() const { return 0; }

  // Whether `count` stored entries of at least `minBytes` each can still be read. When they
  // cannot, the count is damage: the stream fails, so it never reaches an allocation or a loop.
  bool CountFits(uint64_t count, uint64_t minBytes) {
    const uint64_t remaining = Remaining();
    if (count * minBytes <= remaining) return true;
    Fail("a count of " + std::to_string(count) + " needs at least " +
         std::to_string(count * minBytes) + " bytes, more than the " + std::to_string(remaining) +
         " that remain");
    return false;
  }
};
