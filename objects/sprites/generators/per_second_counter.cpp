#include "objects/sprites/generators/per_second_counter.h"

#include <algorithm>
#include <climits>

#include "core/crt_rand.h"
#include "core/float_to_int.h"

int PerSecondCounter::TakeCount(float t) {
  const int n = SaturatingTruncate<int>(Scaled() * (t - lastEmission));
  if (n != 0) lastEmission = t;
  return n;
}

int PerSecondCounterRnd::TakeCount(float t) {
  const int whole = SaturatingTruncate<int>(Scaled() * (t - lastEmission));
  // Twice the whole count, kept below INT_MAX so that n + 1 stays an int.
  const int n = SaturatingTruncate<int>(2.0 * double(whole));
  if (n == 0) return 0;
  lastEmission = t;
  if (n < 0) return 0;
  return crt_rand() % (std::min(n, INT_MAX - 1) + 1);
}
