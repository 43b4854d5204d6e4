#include <gtest/gtest.h>

#include <thread>

#include "core/crt_rand.h"
#include "core/ds_error.h"
#include "core/text_helpers.h"
#include "core/zkw_string.h"

namespace {

// The first values of the C library generator for seed 1 and seed 42, as projects expect them.
TEST(CrtRand, SequenceMatchesTheCLibrary) {
  crt_srand(1);
  const int seed1[] = {41, 18467, 6334, 26500, 19169};
  for (int v : seed1)
    EXPECT_EQ(crt_rand(), v);
  crt_srand(42);
  const int seed42[] = {175, 400, 17869, 30056, 16083};
  for (int v : seed42)
    EXPECT_EQ(crt_rand(), v);
}

TEST(CrtRand, EachThreadStartsAtSeedOne) {
  crt_srand(1234);
  crt_rand();
  int first = -1;
  std::thread([&] { first = crt_rand(); }).join();
  EXPECT_EQ(first, 41);
}

// Skipping n draws at once lands where n single draws do, and a sequence started from a saved
// state repeats the draws the thread's generator makes from there.
TEST(CrtRand, DiscardAndSavedStateFollowTheSequence) {
  for (uint64_t n : {0ull, 1ull, 2ull, 3ull, 1000ull, 65537ull}) {
    crt_srand(7);
    for (uint64_t i = 0; i < n; ++i)
      crt_rand();
    const int expected = crt_rand();
    crt_srand(7);
    crt_rand_discard(n);
    EXPECT_EQ(crt_rand(), expected) << n;
  }
  crt_srand(1);
  CrtRandSequence replay(crt_rand_state());
  EXPECT_EQ(replay.Next(), 41);
  EXPECT_EQ(replay.Next(), 18467);
  EXPECT_EQ(crt_rand(), 41) << "the thread's own sequence is untouched";
  EXPECT_FLOAT_EQ(CrtRandSequence(crt_rand_state()).NextUnit(), 18467.0f / 32767.0f);
}

TEST(ZkwString, Utf8RoundTripAndReplacement) {
  const zkw_string text = u"Za\u00DF\u6C34\U0001F600";
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
  EXPECT_EQ(ToUtf8(u"a"), "a");
  EXPECT_EQ(FromUtf8("\xC3"), u"\uFFFD");
  EXPECT_EQ(FromUtf8("a\xFF"
                     "b"),
            u"a\uFFFDb");
  EXPECT_EQ(FromUtf8("\xC0\x80"), u"\uFFFD\uFFFD");  // overlong NUL
  EXPECT_EQ(ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
}

// what() is one log line: source, message (line breaks as spaces), reason.
TEST(DsError, DescribesItselfInOneLine) {
  struct Case {
    zkw_string message;
    std::string reason, source, expected;
  };
  const Case cases[] = {
      {u"Wrong file format.", "", "", "Wrong file format."},
      {u"Outdated.\nResave.", "the signature is \"x\"", "\"a.bin\"",
       "\"a.bin\": Outdated. Resave. (the signature is \"x\")"},
      {u"", "there is no such file", "\"b.bin\"", "\"b.bin\": there is no such file"},
  };
  for (const Case& c : cases) {
    try {
      throw DS_Error(DS_ErrorCode::OutdatedFormat, c.message, c.reason, c.source);
    } catch (const std::exception& e) {
      EXPECT_EQ(std::string(e.what()), c.expected);
    }
  }
  DS_Error error(DS_ErrorCode::CannotOpenFile, u"", "gone");
  error.SetSource("the resource");
  EXPECT_STREQ(error.what(), "the resource: gone");
  EXPECT_EQ(error.Code(), DS_ErrorCode::CannotOpenFile);
}

TEST(QuoteForLog, EscapesAndCuts) {
  EXPECT_EQ(QuoteForLog(u"DS_3D_Light"), "\"DS_3D_Light\"");
  EXPECT_EQ(QuoteForLog(u"a\x01\"\\\u00e9"), "\"a\\u0001\\\"\\\\\xC3\xA9\"");
  EXPECT_EQ(QuoteForLog(u"abcdef", 3), "\"abc\"...");
}

}  // namespace
