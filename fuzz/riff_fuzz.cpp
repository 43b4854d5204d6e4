// Reads arbitrary bytes as in-memory WAVE data and touches the samples it reports.
#include <cstddef>
#include <cstdint>

#include "platform/audio/riff_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto wave = audio::ReadWave({data, size});
  if (!wave || wave->samples.empty()) return 0;
  const unsigned sum = wave->samples.front() + wave->samples.back() + wave->format.channels;
  return sum == 0xFFFFFFFFu;
}
