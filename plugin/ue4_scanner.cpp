// ue4 archive entries, found by the copy of the entry record in front of each entry's data and
// confirmed by the SHA-1 of that data. An encrypted entry is one "aes" stream with its
// compressed blocks registered inside it; otherwise each compressed block is a stream.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "plugin/le_bytes.h"
#include "plugin/overlap_guard.h"
#include "plugin/scanners.h"

namespace unreal {

namespace {

constexpr int64_t kMaxBlockCount = 32768;
constexpr int64_t kMinSize = 256;

struct Ue4Entry {
  int64_t record_length;
  int64_t stored;   // S, within the Int32 range
  int64_t decoded;  // D
  uint8_t method;   // m; 0: stored as is
  int64_t digest;   // position of the record's SHA-1
  int64_t blocks;   // position of the first block record
  int64_t block_count;
  int32_t block_size;
  uint8_t flags;
};

int32_t BlockStoredSize(const uint8_t* data, int64_t block_record) {
  const auto start = static_cast<uint32_t>(Load<uint64_t>(data, block_record));
  const auto end = static_cast<uint32_t>(Load<uint64_t>(data, block_record + 8));
  return static_cast<int32_t>(end - start);
}

// The entry record at position, or nothing when it is none. Reads only inside the record and
// the entry's data, both checked to lie below the available size first.
std::optional<Ue4Entry> ReadRecord(const ScanContext& context, int64_t position) {
  const uint8_t* data = context.data();
  Ue4Entry entry{};
  entry.stored = Load<int64_t>(data, position + 8);
  entry.decoded = Load<int64_t>(data, position + 16);
  if (entry.stored < kMinSize || entry.stored > INT32_MAX || entry.decoded < entry.stored) {
    return std::nullopt;
  }
  const bool wide =
      data[position + 25] == 0 && data[position + 26] == 0 && data[position + 27] == 0;
  entry.method = data[position + 24];
  entry.digest = position + (wide ? 28 : 25);
  if (entry.method == 0) {
    if (entry.decoded != entry.stored) return std::nullopt;
    entry.record_length = wide ? 53 : 50;
  } else {
    const int64_t count_at = position + (wide ? 48 : 45);
    if (count_at + 4 > context.available()) return std::nullopt;
    entry.block_count = Load<int32_t>(data, count_at);
    if (entry.block_count < 0 || entry.block_count > kMaxBlockCount) return std::nullopt;
    entry.blocks = count_at + 4;
    entry.record_length = (wide ? 57 : 54) + 16 * entry.block_count;
  }
  const int64_t end = CheckedAdd(position + entry.record_length, entry.stored);
  if (end < position || end > context.available()) return std::nullopt;

  // The trailer: a flags byte and a 32-bit block size, in either order.
  const int64_t trailer = position + entry.record_length - 5;
  const auto a = Load<int32_t>(data, trailer + 1);
  const auto b = Load<int32_t>(data, trailer);
  const int32_t low = std::min(a, b);
  const int32_t high = std::max(a, b);
  entry.block_size = (high <= std::min<int64_t>(entry.decoded, 0x100000) && high > 1) ? high : low;
  entry.flags = a == entry.block_size ? data[trailer] : data[trailer + 4];
  if (entry.block_size <= 0 && entry.flags == 0) return std::nullopt;
  if (entry.block_count > 0) {
    if (entry.block_size <= 0) return std::nullopt;
    const double blocks_needed =
        std::ceil(static_cast<double>(entry.decoded) / static_cast<double>(entry.block_size));
    if (blocks_needed != static_cast<double>(entry.block_count)) return std::nullopt;
  }
  if (entry.flags > 1) return std::nullopt;
  return entry;
}

// True when the blocks lie inside the entry's S bytes, each starting where the one before
// ends, rounded up to a multiple of round.
bool BlocksFit(const uint8_t* data, const Ue4Entry& entry, int64_t round) {
  int64_t offset = 0;
  for (int64_t i = 0; i < entry.block_count; ++i) {
    const int32_t stored = BlockStoredSize(data, entry.blocks + 16 * i);
    if (stored < 0 || offset + stored > entry.stored) return false;
    offset += (stored + round - 1) / round * round;
  }
  return true;
}

// Reports the entry at position and returns the position after its data; -1 when it is no match.
int64_t TryEntry(ScanContext& context, OverlapGuard& guard, int64_t position) {
  const std::optional<Ue4Entry> found = ReadRecord(context, position);
  if (!found) return -1;
  const Ue4Entry& entry = *found;
  const PluginState& state = context.state();
  const uint8_t* data = context.data();
  const bool encrypted = entry.flags == 1 && state.ue4_key_given;
  const bool has_method = !state.ue4_method.empty() && entry.method != 0;
  if (encrypted ? entry.method != 0 && entry.block_size < kMinSize
                : !has_method || entry.block_size < kMinSize) {
    return -1;
  }
  const int64_t start = position + entry.record_length;
  const auto stored = static_cast<int32_t>(entry.stored);
  // The table walk and the hash cost as much as the entry is long.
  const int64_t end = start + stored;
  if (!guard.MayExamine(position, end)) return -1;
  // Blocks that leave the entry's data would be reported at wrong places.
  if ((!encrypted && !BlocksFit(data, entry, 1)) ||
      !context.Sha1Matches(start, stored, data + entry.digest)) {
    guard.Rejected(position, end);
    return -1;
  }

  const char16_t* method = state.ue4_method.c_str();
  int64_t remainder = entry.decoded;
  int64_t offset = 0;
  if (encrypted) {
    context.ReportAes(u"ue4", start, stored, stored, state.ue4_key_id);
    if (!has_method || !BlocksFit(data, entry, 16)) return start + stored;
    for (int64_t i = 0; i < entry.block_count; ++i) {
      const int32_t block = BlockStoredSize(data, entry.blocks + 16 * i);
      const auto decoded = static_cast<int32_t>(std::min<int64_t>(remainder, entry.block_size));
      context.RegisterNested(offset, block, decoded, method);
      offset += (int64_t{block} + 15) / 16 * 16;
      remainder -= decoded;
    }
    return start + stored;
  }
  for (int64_t i = 0; i < entry.block_count; ++i) {
    const int32_t block = BlockStoredSize(data, entry.blocks + 16 * i);
    const auto decoded = static_cast<int32_t>(std::min<int64_t>(remainder, entry.block_size));
    context.ReportPlain(method, method, start + offset, block, decoded);
    offset += block;
    remainder -= decoded;
  }
  return start + stored;
}

}  // namespace

void ScanUe4(ScanContext& context, CandidateIndex& candidates) {
  const int64_t limit = context.size() - 48;
  OverlapGuard guard(context.available());
  int64_t position = 0;
  while ((position = candidates.Next(Candidate::kUe4Entry, position, limit)) < limit) {
    const int64_t next = TryEntry(context, guard, position);
    position = next < 0 ? position + 1 : next;
  }
}

}  // namespace unreal
