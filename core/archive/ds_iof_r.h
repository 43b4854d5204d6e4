#pragma once

#include "core/archive/ds_iof_virtual.h"
#include "core/archive/resource_buffer.h"

// The reading stream over a byte source. It does not own the source. Writes stay no-ops.
template <class Source>
class DS_IOF_R : public DS_IOF_Virtual {
 public:
  explicit DS_IOF_R(Source* source) : source_(source) {}

  void ReadResourceRecord(ResourceDataRecord& out) override { source_->ReadResourceRecord(out); }
  void ReadFileData(FileDataRecord& out) override { source_->ReadFileData(out); }
  void ReadNarrowString(std::string& out) override { source_->ReadNarrowString(out); }
  void ReadWideString(zkw_string& out) override { source_->ReadWideString(out); }
  void ReadUInt64(uint64_t& out) override { source_->ReadRaw(&out, sizeof out); }
  void ReadInt64(int64_t& out) override { source_->ReadRaw(&out, sizeof out); }
  void ReadFloat(float& out) override { source_->ReadRaw(&out, sizeof out); }
  void ReadInt32Pair(Int32Pair& out) override {
    source_->ReadRaw(&out[0], 4);
    source_->ReadRaw(&out[1], 4);
  }
  void ReadDword(uint32_t& out) override { source_->ReadRaw(&out, sizeof out); }
  void ReadInt16(int16_t& out) override { source_->ReadRaw(&out, sizeof out); }
  void ReadUInt32(uint32_t& out) override { source_->ReadRaw(&out, sizeof out); }
  void ReadByte(uint8_t& out) override { source_->ReadRaw(&out, sizeof out); }
  void ReadBool(bool& out) override {
    // Any non-zero byte is true; copying it raw into a bool would be undefined for values > 1.
    uint8_t byte = out ? 1 : 0;
    source_->ReadRaw(&byte, 1);
    out = byte != 0;
  }
  void ReadInt32(int32_t& out) override { source_->ReadRaw(&out, sizeof out); }
  void ReadBytes(uint32_t count, void* out) override { source_->ReadRaw(out, count); }

  bool Failed() const override { return source_->Failed(); }
  void Fail(std::string_view reason) override { source_->Fail(reason); }
  std::string FailureReason() const override { return source_->FailureReason(); }
  uint64_t Remaining() const override { return source_->Remaining(); }

 private:
  Source* source_;
};
