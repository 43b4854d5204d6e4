#pragma once

#include <cstdint>

// The loudness arithmetic of the music and of the sound objects. Volumes are attenuations in
// hundredths of a decibel (0 full, -10000 silence) and balances run from -10000 (left) to 10000
// (right). Percentages come from projects, so everything is computed signed and wide, and a
// result that would amplify (above 0 dB) or leave the range is clamped.

// A played file's volume from a percent: 40 hundredths of a decibel per percent below 100
// (100 gives 0, 50 gives -2000, 0 gives -4000; never full silence).
long FileVolume(int64_t percent);
// A played file's balance from a percent: 80 hundredths of a decibel per percent off the centre
// 50 (0 gives -4000, 100 gives 4000).
long FileBalance(int64_t percent);
// The music's volume: the master percent times the track's factor, cut to a whole percent, as
// FileVolume.
long MusicVolume(int masterPercent, float trackFactor);

// An in-memory sound's volume: 50 hundredths of a decibel per percent below 100 (0 gives -5000).
long BufferVolume(int64_t percent);
// An in-memory sound's pan: 100 hundredths of a decibel per percent off the centre 50.
long BufferPan(int64_t percent);
// The volume every in-memory sound adds to its own: the master percent as BufferVolume, or
// silence when muted.
long PrimaryVolume(int masterPercent, bool muted);

// The length of `bytes` of WAVE samples at `bytesPerSecond`, in hundredths of a second rounded
// to the nearest; 0 for a rate of 0.
unsigned WaveLengthHundredths(uint64_t bytes, uint32_t bytesPerSecond);
