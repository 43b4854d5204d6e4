#pragma once

// The interface between the unreal plug-in and its host precompressor: the seven exports, the
// host's function table, the two callbacks and the stream record. Texts are zero-terminated
// UTF-16. Booleans the plug-in returns are full 32-bit 0 or 1; of the host's Booleans only the
// low byte counts.

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define UNREAL_EXPORT extern "C" __declspec(dllexport)
#else
#define UNREAL_EXPORT extern "C" __attribute__((visibility("default")))
#endif

using PrecompBool = int32_t;

// Texts the host writes for GetCodecName and GetCodecParameter, which are given no size: the
// plug-in hands them a buffer of kHostTextBufferUnits units, room for any text of a Windows
// command line (at most 32767 units) and its terminating zero, and reads the text up to its
// first zero unit or kHostTextUnits units, whichever comes first; a longer text is cut there.
// A host must write no more than the buffer holds.
inline constexpr int kHostTextUnits = 256;
inline constexpr int kHostTextBufferUnits = 32768;

using GetCodecNameFn = void (*)(char16_t* result, void* command, int32_t position, void* unused);
using GetCodecParameterFn = void (*)(char16_t* result, void* command, int32_t position,
                                     const char16_t* name);
using RegisterNestedStreamFn = void (*)(int32_t instance, int64_t offset, int32_t stored_size,
                                        int32_t decoded_size, const char16_t* codec, int32_t zero1,
                                        int32_t zero2);
using HashBufferFn = uint32_t (*)(const char16_t* method, const void* data, int32_t size,
                                  void* digest, int32_t digest_size);
using LogStreamFn = void (*)(const char16_t* codec, int64_t position, int32_t stored_size,
                             int32_t decoded_size);
using RegisterResourceFn = int32_t (*)(const void* bytes, int32_t count);

// The host's table of 8-byte function pointers; the plug-in calls only the named entries.
struct PluginHostFuncs {
  void* unused0;
  GetCodecNameFn GetCodecName;                  // 1
  GetCodecParameterFn GetCodecParameter;        // 2
  RegisterNestedStreamFn RegisterNestedStream;  // 3
  void* unused4[4];
  HashBufferFn HashBuffer;  // 8
  void* unused9[24];
  LogStreamFn LogStream;  // 33
  void* unused34[8];
  RegisterResourceFn RegisterResource;  // 42
};
static_assert(offsetof(PluginHostFuncs, GetCodecName) == 8);
static_assert(offsetof(PluginHostFuncs, GetCodecParameter) == 16);
static_assert(offsetof(PluginHostFuncs, RegisterNestedStream) == 24);
static_assert(offsetof(PluginHostFuncs, HashBuffer) == 64);
static_assert(offsetof(PluginHostFuncs, LogStream) == 264);
static_assert(offsetof(PluginHostFuncs, RegisterResource) == 336);
inline constexpr int kPluginHostFuncsCount = 43;

#pragma pack(push, 1)
// One reported stream. resource_id is the key's id for "aes" streams and -1 otherwise.
struct StreamInfo {
  int64_t position;
  int32_t stored_size;
  int32_t decoded_size;
  int32_t resource_id;
  uint16_t reserved;
};
#pragma pack(pop)
static_assert(sizeof(StreamInfo) == 22);

using PrecompOutputCallback = void (*)(int32_t instance, const uint8_t* bytes, int32_t count);
using PrecompAddCallback = void (*)(int32_t instance, StreamInfo* info, const char16_t* codec,
                                    void* unused);

UNREAL_EXPORT PrecompBool PrecompInit(void* command, void* unused, PluginHostFuncs* funcs);
UNREAL_EXPORT void PrecompFree();
UNREAL_EXPORT const char16_t* PrecompCodec(int32_t index);
UNREAL_EXPORT PrecompBool PrecompScan1(int32_t instance, const uint8_t* input, int64_t size,
                                       int64_t available, PrecompOutputCallback output,
                                       PrecompAddCallback add, PluginHostFuncs* funcs);
UNREAL_EXPORT PrecompBool PrecompScan2();
UNREAL_EXPORT PrecompBool PrecompProcess();
UNREAL_EXPORT PrecompBool PrecompRestore();
