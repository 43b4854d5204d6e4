// The ue3 scanner: its three chunk forms, the block table walk, and the guards on sizes and on
// tables that run to the end of the readable bytes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixtures.h"
#include "test_host.h"

namespace unreal_test {
namespace {

const char16_t* Codec(Ue3Form form) {
  switch (form) {
    case Ue3Form::kNarrow:
      return u"lzopro";
    case Ue3Form::kWide:
      return u"lzna:l7";
    case Ue3Form::kLargeBlock:
      return u"leviathan:l4";
  }
  return u"";
}

struct Case {
  std::string what;
  Bytes input;
  std::vector<Stream> expected;
  int64_t size = -1;  // stream starts are looked for below this; the whole input when -1
};

void RunCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    PluginLibrary plugin;
    TestHost host;
    ASSERT_EQ(host.Init(plugin, {{u"ue3"}}), 1);
    GuardedBuffer input(c.input);
    const auto events = host.Scan(plugin, input, c.size < 0 ? input.size() : c.size);
    EXPECT_EQ(Streams(events), c.expected) << c.what;
    EXPECT_EQ(host.hash_calls, 0);
  }
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts)
    Append(out, part);
  return out;
}

TEST(Ue3Scanner, ReportsEveryBlockOfEachForm) {
  std::vector<Case> cases;
  for (Ue3Form form : {Ue3Form::kNarrow, Ue3Form::kWide, Ue3Form::kLargeBlock}) {
    const int64_t head = Ue3HeaderLength(form) + 2 * Ue3EntryLength(form);
    const std::u16string codec = Codec(form);
    cases.push_back(
        {"two blocks " + Narrow(codec),
         Concat({Filler(5), Ue3Chunk(form, 300, 500, {{100, 200}, {200, 300}}), Filler(40)}),
         {Ue3Stream(codec, 5 + head, 100, 200), Ue3Stream(codec, 5 + head + 100, 200, 300)}});
    // The scan resumes right after the blocks: a chunk there is found.
    cases.push_back(
        {"back to back " + Narrow(codec),
         Concat({Ue3Chunk(form, {{100, 200}, {200, 300}}), Ue3Chunk(form, {{7, 9}}), Filler(60)}),
         {Ue3Stream(codec, head, 100, 200), Ue3Stream(codec, head + 100, 200, 300),
          Ue3Stream(codec, 2 * head + 300 - Ue3EntryLength(form), 7, 9)}});
    // Blocks of no stored bytes are no streams; the scan resumes where it would.
    const int64_t three = Ue3HeaderLength(form) + 3 * Ue3EntryLength(form);
    cases.push_back(
        {"blocks of no stored bytes " + Narrow(codec),
         Concat({Filler(5), Ue3Chunk(form, {{0, 100}, {300, 500}, {0, 50}}),
                 Ue3Chunk(form, {{7, 9}}), Filler(60)}),
         {Ue3Stream(codec, 5 + three, 300, 500),
          Ue3Stream(codec, 5 + three + 300 + Ue3HeaderLength(form) + Ue3EntryLength(form), 7, 9)}});
    // Zero totals: an empty table, nothing reported, the scan goes on after the header.
    cases.push_back({"empty " + Narrow(codec),
                     Concat({Ue3Chunk(form, 0, 0, {}), Ue3Chunk(form, {{1, 2}}), Filler(60)}),
                     {Ue3Stream(codec, Ue3HeaderLength(form) * 2 + Ue3EntryLength(form), 1, 2)}});
    cases.push_back({"decoded sum overshoots " + Narrow(codec),
                     Concat({Ue3Chunk(form, 300, 450, {{100, 200}, {200, 300}}), Filler(60)}),
                     {}});
    cases.push_back({"stored sum differs " + Narrow(codec),
                     Concat({Ue3Chunk(form, 299, 500, {{100, 200}, {200, 300}}), Filler(60)}),
                     {}});
    // Blocks may run past the end of the input: the host gets the sizes as they stand.
    cases.push_back(
        {"blocks past the end " + Narrow(codec),
         Concat({Filler(3), Ue3Chunk(form, 9000, 9000, {{9000, 9000}}, false), Filler(30)}),
         {Ue3Stream(codec, 3 + Ue3HeaderLength(form) + Ue3EntryLength(form), 9000, 9000)}});
  }
  RunCases(cases);
}

TEST(Ue3Scanner, ChecksBlockSizesOnlyInTheWideAndLargeBlockForms) {
  std::vector<Case> cases;
  for (Ue3Form form : {Ue3Form::kNarrow, Ue3Form::kWide, Ue3Form::kLargeBlock}) {
    const int64_t block = form == Ue3Form::kLargeBlock ? 0x40000 : 0x20000;
    std::vector<Stream> expected;
    if (form == Ue3Form::kNarrow) {
      expected = {Ue3Stream(Codec(form), Ue3HeaderLength(form) + Ue3EntryLength(form), 50,
                            static_cast<int32_t>(block + 1))};
    }
    cases.push_back({"one over " + Narrow(Codec(form)),
                     Concat({Ue3Chunk(form, {{50, block + 1}}), Filler(60)}), expected});
    cases.push_back({"at the block size " + Narrow(Codec(form)),
                     Concat({Ue3Chunk(form, {{50, block}}), Filler(60)}),
                     {Ue3Stream(Codec(form), Ue3HeaderLength(form) + Ue3EntryLength(form), 50,
                                static_cast<int32_t>(block))}});
  }
  RunCases(cases);
}

TEST(Ue3Scanner, ReportsTheFormsOneAfterAnother) {
  // In the input: large-block, wide, narrow. Reported: narrow, wide, large-block.
  const Bytes large = Ue3Chunk(Ue3Form::kLargeBlock, {{10, 20}});
  const Bytes wide = Ue3Chunk(Ue3Form::kWide, {{11, 21}});
  const Bytes narrow = Ue3Chunk(Ue3Form::kNarrow, {{12, 22}});
  const auto at_wide = std::ssize(large);
  const auto at_narrow = at_wide + std::ssize(wide);
  RunCases(
      {{"forms in order",
        Concat({large, wide, narrow, Filler(60)}),
        {Ue3Stream(u"lzopro", at_narrow + 24, 12, 22), Ue3Stream(u"lzna:l7", at_wide + 48, 11, 21),
         Ue3Stream(u"leviathan:l4", 24, 10, 20)}}});
}

TEST(Ue3Scanner, RejectsSizesThatCannotBeReported) {
  RunCases({
      // A negative stored size would move the scan backwards, over and over.
      {"negative stored",
       Concat({Ue3Chunk(Ue3Form::kNarrow, -116, 100, {{-116, 100}}), Filler(60)}),
       {}},
      {"negative decoded",
       Concat({Ue3Chunk(Ue3Form::kNarrow, 30, 100, {{10, -100}, {20, 200}}), Filler(60)}),
       {}},
      {"wide entry above the 32-bit range",
       Concat({Ue3Chunk(Ue3Form::kWide, int64_t{1} << 32, 100, {{int64_t{1} << 32, 100}}, false),
               Filler(60)}),
       {}},
      {"wide entry of wrapping size",
       Concat({Ue3Chunk(Ue3Form::kWide, (int64_t{1} << 32) + 5, 100,
                        {{(int64_t{1} << 32) + 5, 100}}, false),
               Filler(60)}),
       {}},
  });
}

TEST(Ue3Scanner, StopsTheTableWalkAtTheReadableEnd) {
  // Decoded sizes of 0 never reach the total: the walk meets the end of the readable bytes,
  // which the guard page right behind the input would catch.
  Bytes zeros = Ue3Chunk(Ue3Form::kNarrow, 0, 1, {});
  zeros.resize(zeros.size() + 200, 0);
  Bytes wide = Ue3Chunk(Ue3Form::kWide, 0, 1, {});
  wide.resize(wide.size() + 203, 0);
  // A table cut off in the middle of an entry.
  Bytes cut = Ue3Chunk(Ue3Form::kLargeBlock, 10, 30, {{5, 20}, {5, 10}}, false);
  Bytes tail = Filler(40);
  cut.insert(cut.begin(), tail.begin(), tail.end());
  cut.resize(cut.size() - 2);
  RunCases(
      {{"zero decoded sizes", zeros, {}}, {"wide zero decoded", wide, {}}, {"cut table", cut, {}}});
}

TEST(Ue3Scanner, LooksForChunksOnlyBelowTheSize) {
  // Starts are looked for while the position is below size minus 28 (narrow) or 56 (wide);
  // the table itself may lie beyond the size as long as it is readable.
  std::vector<Case> cases;
  for (Ue3Form form : {Ue3Form::kNarrow, Ue3Form::kWide}) {
    const int64_t reserve = form == Ue3Form::kWide ? 56 : 28;
    const Bytes input = Concat({Filler(10), Ue3Chunk(form, {{60, 70}}), Filler(80)});
    const Stream found =
        Ue3Stream(Codec(form), 10 + Ue3HeaderLength(form) + Ue3EntryLength(form), 60, 70);
    cases.push_back({"just inside", input, {found}, 10 + reserve + 1});
    cases.push_back({"at the limit", input, {}, 10 + reserve});
  }
  RunCases(cases);
}

}  // namespace
}  // namespace unreal_test
