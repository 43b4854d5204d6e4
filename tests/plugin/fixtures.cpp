#include "fixtures.h"

#include <openssl/evp.h>

#include <algorithm>

namespace unreal_test {

void Append(Bytes& out, const Bytes& more) {
  out.insert(out.end(), more.begin(), more.end());
}

Bytes Filler(int64_t count, uint8_t seed) {
  Bytes out(static_cast<size_t>(count));
  // Consecutive bytes differ by 7, so the tag's bytes never follow one another.
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<uint8_t>((i * 7 + seed) % 251 + 1);
  return out;
}

Bytes Sha1(const uint8_t* data, size_t size) {
  Bytes digest(20);
  unsigned length = 0;
  EVP_Digest(data, size, digest.data(), &length, EVP_sha1(), nullptr);
  return digest;
}

int64_t Ue3HeaderLength(Ue3Form form) {
  return form == Ue3Form::kWide ? 32 : 16;
}
int64_t Ue3EntryLength(Ue3Form form) {
  return form == Ue3Form::kWide ? 16 : 8;
}

Bytes Ue3Chunk(Ue3Form form, int64_t total_stored, int64_t total_decoded,
               const std::vector<Ue3Entry>& table, bool with_blocks) {
  Bytes out;
  const bool wide = form == Ue3Form::kWide;
  auto field = [&](int64_t v) {
    if (wide) {
      Append<int64_t>(out, v);
    } else {
      Append<int32_t>(out, static_cast<int32_t>(v));
    }
  };
  field(0x9E2A83C1);
  field(form == Ue3Form::kLargeBlock ? 0x40000 : 0x20000);
  field(total_stored);
  field(total_decoded);
  int64_t blocks = 0;
  for (const Ue3Entry& e : table) {
    field(e.stored);
    field(e.decoded);
    blocks += e.stored;
  }
  if (with_blocks && blocks > 0) Append(out, Filler(blocks, 5));
  return out;
}

Bytes Ue3Chunk(Ue3Form form, const std::vector<Ue3Entry>& table) {
  int64_t stored = 0;
  int64_t decoded = 0;
  for (const Ue3Entry& e : table) {
    stored += e.stored;
    decoded += e.decoded;
  }
  return Ue3Chunk(form, stored, decoded, table);
}

int64_t Ue4Entry::RecordLength() const {
  if (method == 0) return narrow ? 50 : 53;
  return (narrow ? 54 : 57) + 16 * static_cast<int64_t>(blocks.size());
}

Bytes Ue4Entry::Build() const {
  const Bytes data = Filler(stored, seed);
  Bytes out;
  Append<int64_t>(out, 0);
  Append<int64_t>(out, stored);
  Append<int64_t>(out, decoded);
  if (narrow) {
    Append<uint8_t>(out, method);
  } else {
    Append<int32_t>(out, method);
  }
  Bytes digest = Sha1(data.data(), data.size());
  if (bad_hash) digest[7] ^= 0x40;
  Append(out, digest);
  if (method != 0) {
    Append<int32_t>(out, count_field.value_or(static_cast<int32_t>(blocks.size())));
    int64_t offset = RecordLength();
    for (int32_t block : blocks) {
      Append<int64_t>(out, offset);
      Append<int64_t>(out, offset + block);
      offset += (block + block_align - 1) / block_align * block_align;
    }
  }
  if (trailer) {
    out.insert(out.end(), trailer->begin(), trailer->end());
  } else if (flags_first) {
    Append<uint8_t>(out, flags);
    Append<int32_t>(out, block_size);
  } else {
    Append<int32_t>(out, block_size);
    Append<uint8_t>(out, flags);
  }
  Append(out, data);
  return out;
}

Ue4Entry EncryptedTwoBlockEntry() {
  return {.stored = 2016,
          .decoded = 8000,
          .blocks = {1000, 1008},
          .block_align = 16,
          .flags = 1,
          .block_size = 4096};
}

Bytes OverlappingUe4Records(int64_t size, int64_t spacing, int blocks) {
  Bytes out = Filler(size, 9);
  const int64_t record_length = blocks == 0 ? 53 : 57 + 16 * int64_t{blocks};
  for (int64_t at = 0; at + record_length <= size; at += spacing) {
    const int64_t stored = size - at - record_length;
    // Blocks of equal size fill the data; the block size makes their count exactly `blocks`.
    const int64_t block = blocks == 0 ? 0 : (stored + blocks - 1) / blocks;
    if (stored < 256 || (blocks > 0 && block < 256)) break;
    const int64_t decoded = blocks == 0 ? stored : block * blocks;
    Bytes record;
    Append<int64_t>(record, 0);
    Append<int64_t>(record, stored);
    Append<int64_t>(record, decoded);
    Append<int32_t>(record, blocks == 0 ? 0 : 1);
    Append(record, Bytes(20, 0xA5));
    if (blocks == 0) {
      // Flags 1 first, then a block size of 0.
      Append(record, Bytes{1, 0, 0, 0, 0});
    } else {
      Append<int32_t>(record, blocks);
      for (int64_t i = 0; i < blocks; ++i) {
        Append<int64_t>(record, record_length + i * block);
        Append<int64_t>(record, record_length + std::min(stored, (i + 1) * block));
      }
      // The block size, then flags 0.
      Append<int32_t>(record, static_cast<int32_t>(block));
      Append<uint8_t>(record, 0);
    }
    std::copy(record.begin(), record.end(), out.begin() + at);
  }
  return out;
}

Bytes OverlappingUe4Tables(int64_t size) {
  constexpr int32_t kBlocks = 32768;
  // D, the blocks times the block size, is above any stored size of a 2 GiB run and, with its
  // upper half 0, reads as part of an empty block.
  constexpr int32_t kBlockSize = 0x10000;
  constexpr int64_t kRecordLength = 57 + 16 * int64_t{kBlocks};
  Bytes out(static_cast<size_t>(size), 0);
  for (int64_t at = 0; at + kRecordLength + 256 <= size; at += 64) {
    // The table's 16-byte entries fall on these records' bytes 4, 20, 36 and 52 on: the low
    // halves of their start and end are equal everywhere (the digest is zero). Bytes 52 to 56
    // are the trailer of the record 8192 records back: the block size, then flags 0.
    Bytes record;
    Append<int64_t>(record, 0);
    Append<int64_t>(record, size - at - kRecordLength);
    Append<int64_t>(record, int64_t{kBlocks} * kBlockSize);
    Append<int32_t>(record, 1);
    Append(record, Bytes(20, 0));
    Append<int32_t>(record, kBlocks);
    Append<int32_t>(record, kBlockSize);
    Append(record, Bytes(4, 0));
    Append<int32_t>(record, kBlockSize);
    std::copy(record.begin(), record.end(), out.begin() + at);
  }
  return out;
}

Bytes Ue5Stream(int64_t groups, uint8_t seed) {
  Bytes out(16, 0);
  Append(out, Filler(groups * 16, seed));
  const int64_t length = groups * 16;
  const int64_t padded = (length + 16 + 2047) / 2048 * 2048;
  out.resize(static_cast<size_t>(16 + padded), 0);
  Append(out, Filler(16, seed));
  return out;
}

}  // namespace unreal_test
