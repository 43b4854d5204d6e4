// ue5 encrypted streams, found by their framing alone: 16 zero bytes, the stream (16-byte
// groups, the first and the last with both halves non-zero), 16 zero bytes, and zero padding up
// to a multiple of 2048 bytes from the stream's start, where a non-zero group follows.

#include <cstdint>
#include <limits>

#include "plugin/le_bytes.h"
#include "plugin/scanners.h"

namespace unreal {

namespace {

constexpr int64_t kPadding = 2048;

bool BothHalvesSet(const uint8_t* data, int64_t position) {
  return Load<uint64_t>(data, position) != 0 && Load<uint64_t>(data, position + 8) != 0;
}

bool BothHalvesZero(const uint8_t* data, int64_t position) {
  return Load<uint64_t>(data, position) == 0 && Load<uint64_t>(data, position + 8) == 0;
}

// Where the candidate at position moves on to: the stream's end when one is reported.
int64_t TryStream(ScanContext& context, int64_t position) {
  const uint8_t* data = context.data();
  const int64_t available = context.available();
  int64_t end = -1;
  for (int64_t q = position + 32; q < available - 32; ++q) {
    if (Load<int32_t>(data, q) == 0) return position + 2;
    if (BothHalvesSet(data, q) && BothHalvesZero(data, q + 16)) {
      end = q + 16;
      break;
    }
  }
  if (end < 0 || (end - position) % 16 != 0) return position + 1;
  const int64_t start = position + 16;
  // Streams are reported with 32-bit sizes.
  if (end - start > std::numeric_limits<int32_t>::max()) return position + 1;
  for (int64_t r = end; r < available - 16; r += 16) {
    if ((r - start) % kPadding == 0) {
      if (!BothHalvesSet(data, r)) continue;
      const auto length = static_cast<int32_t>(end - start);
      context.ReportAes(u"ue5", start, length, length, context.state().ue5_key_id);
      return end;
    }
    if (!BothHalvesZero(data, r)) break;
  }
  return position + 17;
}

}  // namespace

void ScanUe5(ScanContext& context, CandidateIndex& candidates) {
  const int64_t limit = context.size() - 32;
  int64_t position = 0;
  while ((position = candidates.Next(Candidate::kUe5Stream, position, limit)) < limit) {
    position = TryStream(context, position);
  }
}

}  // namespace unreal
