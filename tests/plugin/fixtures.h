#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// Small builders of the archive structures the scanners look for.
namespace unreal_test {

using Bytes = std::vector<uint8_t>;

template <typename T>
void Append(Bytes& out, T value) {
  for (size_t i = 0; i < sizeof(T); ++i)
    out.push_back(static_cast<uint8_t>(uint64_t(value) >> (8 * i)));
}
void Append(Bytes& out, const Bytes& more);
// Bytes that hold no candidate of any scanner: never zero, never the ue3 tag.
Bytes Filler(int64_t count, uint8_t seed = 0);
Bytes Sha1(const uint8_t* data, size_t size);

enum class Ue3Form { kNarrow, kWide, kLargeBlock };
struct Ue3Entry {
  int64_t stored;
  int64_t decoded;
};
int64_t Ue3HeaderLength(Ue3Form form);
int64_t Ue3EntryLength(Ue3Form form);
// Header and block table, then the blocks' stored bytes unless with_blocks is false.
Bytes Ue3Chunk(Ue3Form form, int64_t total_stored, int64_t total_decoded,
               const std::vector<Ue3Entry>& table, bool with_blocks = true);
// The same with the totals that the table adds up to.
Bytes Ue3Chunk(Ue3Form form, const std::vector<Ue3Entry>& table);

// A ue4 entry record and its stored bytes.
struct Ue4Entry {
  bool narrow = false;  // one-byte method field
  uint8_t method = 1;
  int64_t stored = 1024;  // S: the entry's data is this many filler bytes
  int64_t decoded = 4096;
  std::vector<int32_t> blocks = {};  // stored size of each block
  int64_t block_align = 1;           // blocks start at multiples of this within the data
  uint8_t flags = 0;
  int32_t block_size = 65536;
  bool flags_first = true;  // trailer: flags byte then block size, else the other way round
  std::optional<std::array<uint8_t, 5>> trailer = std::nullopt;  // raw trailer bytes instead
  std::optional<int32_t> count_field = std::nullopt;  // written instead of the number of blocks
  bool bad_hash = false;
  uint8_t seed = 1;

  int64_t RecordLength() const;
  Bytes Build() const;
};

// An entry flagged encrypted of two blocks, 1000 and 1008 stored bytes, each starting at a
// multiple of 16 inside its 2016 bytes, decoding to 4096 and 3904 bytes (block size 4096).
Ue4Entry EncryptedTwoBlockEntry();

// A run of `size` bytes with a ue4 entry record every `spacing` bytes, each with a wrong hash and
// claiming as its data everything from its end to the end of the run, so that the data of all
// of them overlap. With blocks 0 they are stored entries flagged encrypted (hashed when a ue4
// key is given); otherwise compressed entries of that many blocks, not encrypted (hashed when a
// ue4 method is given). Records whose data would be too short to be hashed are left out.
Bytes OverlappingUe4Records(int64_t size, int64_t spacing, int blocks);
// A run of `size` bytes, zero but for a compressed ue4 record every 64 bytes, each with a wrong
// hash and claiming the rest of the run, whose table of 32768 blocks reaches over the records
// after it and reads as blocks of no bytes: every table walked is as long as a table can be.
Bytes OverlappingUe4Tables(int64_t size);

// 16 zero bytes, a stream of `groups` 16-byte groups without zero bytes, 16 zero bytes, zero
// padding up to a multiple of 2048 bytes from the stream's start, then a non-zero group. The
// stream starts at offset 16.
Bytes Ue5Stream(int64_t groups, uint8_t seed = 3);

}  // namespace unreal_test
