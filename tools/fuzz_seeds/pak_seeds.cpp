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
  const Ue4Entry wide{.stored = 2000, .decoded = 5000, .blocks = {1000, 1000}, .block_size = 4096};
  Ue4Entry narrow = wide;
  narrow.narrow = true;
  Ue4Entry trailerLast = wide;
  trailerLast.flags_first = false;
  const Ue4Entry encrypted{.stored = 2016,
                           .decoded = 8000,
                           .blocks = {1000, 1008},
                           .block_align = 16,
                           .flags = 1,
                           .block_size = 4096};
  const Ue4Entry stored{.method = 0, .stored = 700, .decoded = 700, .flags = 0};
  Ue4Entry storedEncrypted = stored;
  storedEncrypted.flags = 1;
  storedEncrypted.stored = storedEncrypted.decoded = 704;

  Seeds out = {
      Input("ue3-narrow",
            {Filler(5), Ue3Chunk(Ue3Form::kNarrow, {{100, 200}, {200, 300}}), Filler(40)}),
      Input("ue3-wide", {Ue3Chunk(Ue3Form::kWide, {{300, 1000}, {40, 50}}), Filler(30)}),
      Input("ue3-large-block", {Ue3Chunk(Ue3Form::kLargeBlock, {{60, 70}}), Filler(20)}),
      Input("ue3-cut-at-scan-end", {Ue3Chunk(Ue3Form::kNarrow, {{80, 90}})}, 40),
      Input("ue4-wide-blocks", {Filler(13), ZeroDigest(wide), Filler(31)}),
      Input("ue4-narrow-blocks", {Filler(13), ZeroDigest(narrow), Filler(31)}),
      Input("ue4-trailer-last", {Filler(13), ZeroDigest(trailerLast), Filler(31)}),
      Input("ue4-encrypted-blocks", {Filler(13), ZeroDigest(encrypted), Filler(31)}),
      Input("ue4-stored", {Filler(13), ZeroDigest(stored), Filler(31)}),
      Input("ue4-stored-encrypted", {Filler(13), ZeroDigest(storedEncrypted), Filler(31)}),
      Input("ue5-stream", {Filler(7), Ue5Stream(12), Filler(9)}),
  };
  // Shaped like the start of a pak archive: entries back to back, the files' sizes varied,
  // compressed and stored, plain and encrypted, then an all-zero stretch.
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
