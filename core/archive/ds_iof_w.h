#pragma once

#include <vector>

#include "core/archive/ds_iof_virtual.h"

// A writing stream that appends the stored form of every write to a byte vector. The player
// never writes projects; tests and the project-building tools do.
class DS_IOF_W : public DS_IOF_Virtual {
 public:
  void WriteResourceRecord(const ResourceDataRecord& r) override;
  void WriteFileData(const FileDataRecord& r) override;
  void WriteWideString(const zkw_string& s) override;
  void WriteInt64(const int64_t& v) override { Put(&v, sizeof v); }
  void WriteFloat(const float& v) override { Put(&v, sizeof v); }
  void WriteInt32Pair(const Int32Pair& v) override { Put(v.data(), 8); }
  void WriteDword(const uint32_t& v) override { Put(&v, sizeof v); }
  void WriteInt16(const int16_t& v) override { Put(&v, sizeof v); }
  void WriteUInt32(const uint32_t& v) override { Put(&v, sizeof v); }
  void WriteByte(const uint8_t& v) override { Put(&v, sizeof v); }
  void WriteBool(const bool& v) override { WriteByte(v ? 1 : 0); }
  void WriteInt32(const int32_t& v) override { Put(&v, sizeof v); }
  void WriteBytes(uint32_t count, const void* data) override { Put(data, count); }

  // A writing stream has nothing to read: every read delivers nothing.
  void ReadResourceRecord(ResourceDataRecord&) override {}
  void ReadFileData(FileDataRecord&) override {}
  void ReadNarrowString(std::string&) override {}
  void ReadWideString(zkw_string&) override {}
  void ReadUInt64(uint64_t&) override {}
  void ReadInt64(int64_t&) override {}
  void ReadFloat(float&) override {}
  void ReadInt32Pair(Int32Pair&) override {}
  void ReadDword(uint32_t&) override {}
  void ReadInt16(int16_t&) override {}
  void ReadUInt32(uint32_t&) override {}
  void ReadByte(uint8_t&) override {}
  void ReadBool(bool&) override {}
  void ReadInt32(int32_t&) override {}
  void ReadBytes(uint32_t, void*) override {}

  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  std::vector<uint8_t> TakeBytes() { return std::move(bytes_); }

 private:
  void Put(const void* data, size_t count);

  std::vector<uint8_t> bytes_;
};
