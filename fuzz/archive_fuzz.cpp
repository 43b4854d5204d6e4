// Reads arbitrary bytes as a run of typed values and records, in memory mode and from a file,
// steered by the data itself. Any over-read, oversized allocation or undefined behaviour fails.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/archive/ds_iof_archive.h"
#include "core/archive/ds_iof_r.h"
#include "core/archive/resource_buffer.h"

namespace {

void ReadAll(ResourceBuffer& buffer, uint8_t program) {
  DS_IOF_Archive ar(std::make_unique<DS_IOF_R<ResourceBuffer>>(&buffer));
  auto& io = ar.io();
  for (int step = 0; step < 64 && !io.Failed(); ++step) {
    uint8_t op = static_cast<uint8_t>((program + step * 7) % 16);
    switch (op) {
      case 0: {
        ResourceDataRecord r;
        io.ReadResourceRecord(r);
        break;
      }
      case 1: {
        FileDataRecord r;
        io.ReadFileData(r);
        break;
      }
      case 2: {
        std::string s;
        io.ReadNarrowString(s);
        break;
      }
      case 3: {
        zkw_string s;
        io.ReadWideString(s);
        break;
      }
      case 4: {
        uint64_t v;
        io.ReadUInt64(v);
        break;
      }
      case 5: {
        float v;
        io.ReadFloat(v);
        break;
      }
      case 6: {
        Int32Pair v;
        io.ReadInt32Pair(v);
        break;
      }
      case 7: {
        uint32_t v;
        io.ReadDword(v);
        break;
      }
      case 8: {
        int16_t v;
        io.ReadInt16(v);
        break;
      }
      case 9: {
        bool v = false;
        io.ReadBool(v);
        break;
      }
      case 10: {
        uint8_t raw[17];
        io.ReadBytes(op, raw);
        break;
      }
      case 11: {
        GUID g;
        ar.ReadGuid(g);
        break;
      }
      case 12: {
        std::vector<ResourceDataRecord> l;
        ar.ReadResourceRecordList(l);
        break;
      }
      case 13: {
        std::vector<uint32_t> v;
        buffer.ReadDwordVector(v);
        break;
      }
      default: {
        int32_t v;
        io.ReadInt32(v);
        break;
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t program = data[0];
  // An exactly sized heap copy, so that any read past the end is caught.
  std::vector<uint8_t> copy(data + 1, data + size);
  {
    ResourceBuffer memory;
    memory.SetMemory(copy.data(), copy.size());
    ReadAll(memory, program);
  }
  // One file per process, removed when the process ends.
  static const struct TempFile {
    std::string path = "/tmp/archive_fuzz_" + std::to_string(getpid());
    ~TempFile() { std::remove(path.c_str()); }
  } temp;
  const std::string& path = temp.path;
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(copy.data(), 1, copy.size(), f);
    std::fclose(f);
    ResourceBuffer file;
    if (file.Open(path)) ReadAll(file, program);
  }
  return 0;
}
