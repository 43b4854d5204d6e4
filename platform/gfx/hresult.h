#pragma once

#include <cstdint>

// COM-style result codes of the graphics layer. The values are the platform's own, because the
// callers compare against them (a lost device answers 0x88760868) and test the sign for failure.
namespace gfx {

using HResult = int32_t;

inline constexpr HResult kOk = 0;
inline constexpr HResult kFail = static_cast<HResult>(0x80004005);
inline constexpr HResult kOutOfMemory = static_cast<HResult>(0x8007000E);
inline constexpr HResult kInvalidArg = static_cast<HResult>(0x80070057);
inline constexpr HResult kNotFound = static_cast<HResult>(0x88760866);
inline constexpr HResult kMoreData = static_cast<HResult>(0x88760867);
inline constexpr HResult kDeviceLost = static_cast<HResult>(0x88760868);
inline constexpr HResult kDeviceNotReset = static_cast<HResult>(0x88760869);
inline constexpr HResult kNotAvailable = static_cast<HResult>(0x8876086A);
inline constexpr HResult kInvalidCall = static_cast<HResult>(0x8876086C);
inline constexpr HResult kOutOfVideoMemory = static_cast<HResult>(0x8876017C);

constexpr bool Failed(HResult hr) {
  return hr < 0;
}
constexpr bool Succeeded(HResult hr) {
  return hr >= 0;
}

}  // namespace gfx
