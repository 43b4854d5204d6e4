// Resource-only PE modules and WAVE files, built by the tests' own writers.
#include "platform/audio/wave_bytes.h"
#include "platform/gfx_image/picture_bytes.h"
#include "platform/res/pe_image_builder.h"
#include "player/support/pe_module_writer.h"
#include "tools/fuzz_seeds/fuzz_seeds.h"

namespace fuzz_seeds {

namespace {

// A string table block (16 length-prefixed UTF-16 strings) holding `texts` from its first id.
std::vector<uint8_t> StringBlock(const std::vector<std::u16string>& texts) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i < 16; ++i) {
    const std::u16string text = i < texts.size() ? texts[i] : u"";
    wave_bytes::U16(out, uint16_t(text.size()));
    for (char16_t c : text)
      wave_bytes::U16(out, uint16_t(c));
  }
  return out;
}

}  // namespace

Seeds PeSeeds() {
  const std::vector<uint8_t> dds =
      gfx_image_test::MakeDds(gfx::Format::A8R8G8B8, 2, 2, {std::vector<uint8_t>(16, 0x7F)});
  // The shared library's shape: pictures of type "DDS", effects as RT_RCDATA, strings 6 to 8
  // (block 1 holds ids 0 to 15).
  PeModuleWriter library;
  library.AddDds(54, dds).AddDds(2000, dds);
  library.AddRcData(77, std::vector<uint8_t>{'t', 'e', 'c', 'h', 'n', 'i', 'q', 'u', 'e'});
  library.Add({u"", 6}, 1, StringBlock({u"", u"", u"", u"", u"", u"", u"six", u"seven", u"eight"}));
  PeModuleWriter named;
  named.Add({u"PICTURES", 0}, 3, {1, 2, 3}).Add({u"", 23}, 4, {}).AddDds(54, {});
  return {{"pe-one-resource", PeImageBuilder().bytes},
          {"pe-library", library.Build()},
          {"pe-named-types", named.Build()}};
}

Seeds WaveSeeds() {
  using namespace wave_bytes;
  const std::vector<uint8_t> samples = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11,
                                        12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23};
  // An extensible block: cbSize 22, valid bits, channel mask, then the SubFormat GUID.
  std::vector<uint8_t> extensible = Format(0xFFFE, 2, 44100, 32, 22);
  U16(extensible, 32);
  U32(extensible, 3);
  const uint8_t guid[16] = {3, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
  Append(extensible, guid, 16);
  return {
      {"wave-pcm8-mono", Riff({Chunk("fmt ", Format(1, 1, 8000, 8)), Chunk("data", samples)})},
      {"wave-pcm16-tone", Tone(0.002)},
      {"wave-pcm24-stereo-list-chunk",
       Riff({Chunk("fmt ", Format(1, 2, 48000, 24, 0)), Chunk("LIST", {'I', 'N', 'F', 'O', 1}),
             Chunk("data", samples)})},
      {"wave-float32", Riff({Chunk("fmt ", Format(3, 1, 22050, 32, 0)), Chunk("data", samples)})},
      {"wave-extensible-float", Riff({Chunk("fmt ", extensible), Chunk("data", samples)})},
      {"wave-data-size-past-end",
       Riff({Chunk("fmt ", Format(1, 1, 11025, 16)), Chunk("data", samples, 4000)})},
  };
}

}  // namespace fuzz_seeds
