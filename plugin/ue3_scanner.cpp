// ue3 compressed chunks: a header (tag, block size, total stored and decoded sizes), a table of
// per-block stored and decoded sizes, then the blocks. Each block is reported as a stream.

#include <cstdint>
#include <limits>

#include "plugin/le_bytes.h"
#include "plugin/scanners.h"

namespace unreal {

namespace {

struct Ue3Form {
  bool wide;               // 64-bit fields, else 32-bit
  int64_t block_size;      // the value after the tag
  bool checks_block_size;  // an entry decoding to more than block_size is no chunk
  const char16_t* codec;
  int64_t frame_reserve;  // positions stop this far before the end of the input
  int64_t header_length() const { return wide ? 32 : 16; }
  int64_t entry_length() const { return wide ? 16 : 8; }
  int64_t field(const uint8_t* data, int64_t position) const {
    return wide ? Load<int64_t>(data, position) : Load<int32_t>(data, position);
  }
};

constexpr Ue3Form kForms[] = {
    {false, 0x20000, false, u"lzopro", 28},
    {true, 0x20000, true, u"lzna:l7", 56},
    {false, 0x40000, true, u"leviathan:l4", 28},
};

bool HeaderMatches(const Ue3Form& form, const uint8_t* data, int64_t position) {
  if (form.wide) {
    return Load<uint64_t>(data, position) == kUe3Tag &&
           Load<int64_t>(data, position + 8) == form.block_size;
  }
  return Load<uint32_t>(data, position) == kUe3Tag &&
         Load<int32_t>(data, position + 4) == form.block_size;
}

// Walks the block table of the chunk at position. Returns the number of table entries, or -1
// when it is no chunk; stored_sum receives the blocks' total stored size.
int64_t ReadChunk(const ScanContext& context, const Ue3Form& form, int64_t position,
                  int64_t& stored_sum) {
  const uint8_t* data = context.data();
  const int64_t total_stored = form.field(data, position + form.header_length() / 2);
  const int64_t total_decoded =
      form.field(data, position + form.header_length() / 2 + form.header_length() / 4);
  stored_sum = 0;
  int64_t decoded_sum = 0;
  int64_t entry = position + form.header_length();
  while (decoded_sum < total_decoded) {
    // The table may not run past the readable bytes.
    if (entry + form.entry_length() > context.available()) return -1;
    const int64_t stored = form.field(data, entry);
    const int64_t decoded = form.field(data, entry + form.entry_length() / 2);
    // Negative sizes would move the scan backwards; sizes are reported as 32-bit values.
    if (stored < 0 || decoded < 0) return -1;
    if (stored > std::numeric_limits<int32_t>::max() ||
        decoded > std::numeric_limits<int32_t>::max()) {
      return -1;
    }
    if (form.checks_block_size && decoded > form.block_size) return -1;
    stored_sum += stored;
    decoded_sum += decoded;
    // Sizes only grow: once past the total the sums can never agree.
    if (stored_sum > total_stored) return -1;
    entry += form.entry_length();
  }
  if (stored_sum != total_stored || decoded_sum != total_decoded) return -1;
  return (entry - position - form.header_length()) / form.entry_length();
}

void ScanForm(ScanContext& context, CandidateIndex& candidates, const Ue3Form& form) {
  const int64_t limit = context.size() - form.frame_reserve;
  const uint8_t* data = context.data();
  int64_t position = 0;
  while ((position = candidates.Next(Candidate::kUe3Tag, position, limit)) < limit) {
    int64_t stored_sum = 0;
    const int64_t count =
        HeaderMatches(form, data, position) ? ReadChunk(context, form, position, stored_sum) : -1;
    const int64_t table = position + form.header_length();
    const int64_t blocks = table + count * form.entry_length();
    const int64_t end = count < 0 ? -1 : CheckedAdd(blocks, stored_sum);
    if (end < 0) {
      ++position;
      continue;
    }
    int64_t block_start = blocks;
    for (int64_t entry = table; entry < blocks; entry += form.entry_length()) {
      const auto stored = static_cast<int32_t>(form.field(data, entry));
      const auto decoded = static_cast<int32_t>(form.field(data, entry + form.entry_length() / 2));
      context.ReportPlain(u"ue3", form.codec, block_start, stored, decoded);
      block_start += stored;
    }
    position = end;
  }
}

}  // namespace

void ScanUe3(ScanContext& context, CandidateIndex& candidates) {
  for (const Ue3Form& form : kForms)
    ScanForm(context, candidates, form);
}

}  // namespace unreal
