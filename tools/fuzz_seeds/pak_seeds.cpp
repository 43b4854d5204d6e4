// The archive structures the plug-in's scanners look for, built by the plug-in tests' builders.
// The fuzz target's host answers every hash with zeros, so the ue4 entries carry a zero digest
// instead of their data's SHA-1; its first input byte says how many bytes lie beyond the scan.
#include <algorithm>

#include "fixtures.h"
#include "tools/fuzz_seeds/fuzz_seeds.h"

namespace fuzz_seeds {

namespace {

using namespace unreal_test;

Bytes ZeroDigest(const Ue4Entry& entry) {
  Bytes bytes = entry.Build();
  const size_t digest = entry.narrow ? 25 : 28;
  std::fill(bytes.begin() + digest, bytes.begin() + digest + 20, 0);
  return bytes;
}

Seed Input(std::string name, const std::vector<Bytes>& parts, uint8_t beyond = 0) {
  Bytes bytes{beyond};
  for (const Bytes& part : parts)
    Append(bytes, part);
  return {std::move(name), std::move(bytes)};
}

}  // namespace

Seeds PakSeeds() {
  Seeds out = {
      Input("ue3-narrow",
            {Filler(5), Ue3Chunk(Ue3Form::kNarrow, {{100, 200}, {200, 300}}), Filler(40)}),
      Input("ue3-wide", {Ue3Chunk(Ue3Form::kWide, {{300, 1000}, {40, 50}}), Filler(30)}),
      Input("ue3-large-block", {Ue3Chunk(Ue3Form::kLargeBlock, {{60, 70}}), Filler(20)}),
      Input("ue3-cut-at-scan-end", {Ue3Chunk(Ue3Form::kNarrow, {{80, 90}})}, 40),
      // A table of blocks with no stored bytes: nothing to report.
      Input("ue3-empty-blocks",
            {Ue3Chunk(Ue3Form::kNarrow, std::vector<Ue3Entry>(64, {0, 1})), Filler(20)}),
      Input("ue5-stream", {Filler(7), Ue5Stream(12), Filler(9)}),
  };
  // ue4 entries of two blocks in each record layout and trailer order, plain and encrypted
  // (encrypted blocks start at multiples of 16), and entries stored as they are.
  for (const bool narrow : {false, true})
    for (const bool flagsFirst : {true, false})
      for (const bool encrypted : {false, true}) {
        const Ue4Entry e{.narrow = narrow,
                         .stored = 2016,
                         .decoded = 8000,
                         .blocks = {1000, 1008},
                         .block_align = encrypted ? 16 : 1,
                         .flags = uint8_t(encrypted),
                         .block_size = 4096,
                         .flags_first = flagsFirst};
        out.push_back(Input(std::string("ue4-blocks") + (narrow ? "-narrow" : "-wide") +
                                (flagsFirst ? "-flags-first" : "-flags-last") +
                                (encrypted ? "-encrypted" : ""),
                            {Filler(13), ZeroDigest(e), Filler(31)}));
      }
  for (const bool encrypted : {false, true}) {
    const Ue4Entry e{.method = 0, .stored = 704, .decoded = 704, .flags = uint8_t(encrypted)};
    out.push_back(Input(encrypted ? "ue4-stored-encrypted" : "ue4-stored",
                        {Filler(13), ZeroDigest(e), Filler(31)}));
  }
  // ue4 records 64 and 128 bytes apart, each claiming the rest of the input with a wrong digest:
  // the host may be asked to hash only a bounded multiple of the input.
  out.push_back(Input("ue4-overlapping-stored", {OverlappingUe4Records(4096, 64, 0)}));
  out.push_back(Input("ue4-overlapping-blocks", {OverlappingUe4Records(4096, 128, 2)}));
  // Shaped like the start of a pak archive: entries back to back, the files' sizes varied,
  // compressed and stored, then an all-zero stretch.
  std::vector<Bytes> pak;
  const int64_t sizes[] = {300, 1200, 257, 3000};
  for (size_t i = 0; i < std::size(sizes); ++i) {
    Ue4Entry e{.stored = sizes[i], .decoded = sizes[i] * 3, .seed = uint8_t(i + 2)};
    if (i % 2 == 0)
      e.blocks = {int32_t(sizes[i])};
    else
      e.method = 0, e.decoded = e.stored;
    pak.push_back(ZeroDigest(e));
  }
  pak.push_back(Bytes(512, 0));
  out.push_back(Input("pak-shaped-entries", pak));
  return out;
}

}  // namespace fuzz_seeds
