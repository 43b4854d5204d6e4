#include <gtest/gtest.h>

#include <thread>

#include "core/crt_rand.h"
#include "core/ds_error.h"
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

TEST(DsError, CarriesItsMessage) {
  try {
    throw DS_Error(u"Wrong file format.");
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Wrong file format.");
  }
}

}  // namespace
