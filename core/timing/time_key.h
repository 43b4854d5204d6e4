#pragma once

#include <set>

#include "core/archive/ds_iof_archive.h"

// One interval of a manual timeline, in seconds: the object fades in from start to fadeInEnd, is
// shown until fadeOutStart and fades out until end (start <= fadeInEnd <= fadeOutStart <= end is
// expected; the timeline never divides by a zero span).
struct TimeKey {
  float start = 0.0f;
  float end = 0.0f;
  float fadeInEnd = 0.0f;
  float fadeOutStart = 0.0f;

  friend bool operator==(const TimeKey&, const TimeKey&) = default;
};

// Keys are ordered by time; a key comes before another when it ends before the other starts, so
// two keys that overlap or touch compare equal and a set never holds both.
struct TimeKeyOrder {
  bool operator()(const TimeKey& a, const TimeKey& b) const { return a.end < b.start; }
};

using TimeKeySet = std::set<TimeKey, TimeKeyOrder>;

// A Dword count, then per key Float start, end, fade-in end and fade-out start, each inserted by
// its order: a key that overlaps or touches one already in the set is dropped, and so is a key
// that ends before it starts or holds a value that is not finite. A count that the remaining
// bytes cannot hold fails the stream and reads nothing.
void ReadTimeKeys(DS_IOF_Archive& archive, TimeKeySet& keys);
// The count and the keys in set order.
void WriteTimeKeys(DS_IOF_Archive& archive, const TimeKeySet& keys);
