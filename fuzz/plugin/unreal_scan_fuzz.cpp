// Scans arbitrary bytes with every codec enabled and both keys given. The first byte of the
// input says how many of its last bytes lie beyond the scan size (readable, but no stream
// starts there). Any read past the input, any hang, any report that points outside the input or
// carries impossible sizes, and any scan that asks the host to hash more than its bound fails.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "plugin/overlap_guard.h"
#include "plugin/unreal.h"

namespace {

const uint8_t* input = nullptr;
int64_t available = 0;
int64_t last_aes_size = -1;
int64_t hashed = 0;

void Check(bool ok) {
  if (!ok) std::abort();
}

void Write(char16_t* result, const char16_t* text) {
  size_t i = 0;
  for (; text[i] != 0; ++i)
    result[i] = text[i];
  result[i] = 0;
}

void GetCodecName(char16_t* result, void*, int32_t position, void*) {
  static const char16_t* const names[] = {u"ue3", u"ue4", u"ue5"};
  Write(result, position >= 0 && position < 3 ? names[position] : u"");
}

void GetCodecParameter(char16_t* result, void*, int32_t position, const char16_t* name) {
  const bool key = name[0] == u'k';
  if (position == 1) return Write(result, key ? u"000102030405060708090a0b0c0d0e0f" : u"kraken:l4");
  if (position == 2 && key) return Write(result, u"ff");
  Write(result, u"");
}

void RegisterNestedStream(int32_t, int64_t offset, int32_t stored, int32_t decoded,
                          const char16_t* codec, int32_t a, int32_t b) {
  Check(last_aes_size >= 0 && offset >= 0 && stored > 0 && decoded > 0);
  Check(offset + stored <= last_aes_size);
  Check(std::u16string(codec) == u"kraken:l4" && a == 0 && b == 0);
}

// Answers with an all-zero digest, so that entries whose record holds zeros pass the check.
uint32_t HashBuffer(const char16_t*, const void* data, int32_t size, void* digest, int32_t n) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  Check(n == 20 && size >= 0 && bytes >= input && bytes + size <= input + available);
  hashed += size;
  std::memset(digest, 0, 20);
  return 1;
}

void LogStream(const char16_t*, int64_t, int32_t, int32_t) {}
int32_t RegisterResource(const void*, int32_t count) {
  return count;
}
void Unexpected() {
  std::abort();
}

void Output(int32_t, const uint8_t* bytes, int32_t count) {
  Check(count >= 0 && bytes >= input && bytes + count <= input + available);
}

void Add(int32_t, StreamInfo* info, const char16_t* codec, void* unused) {
  Check(unused == nullptr && info->reserved == 0);
  Check(info->position >= 0 && info->stored_size > 0 && info->decoded_size >= 0);
  const bool aes = std::u16string(codec) == u"aes";
  Check(aes || info->resource_id == -1);
  if (aes) {
    // Encrypted streams lie inside the input; ue3 blocks may run past it.
    Check(info->position + info->stored_size <= available);
    last_aes_size = info->stored_size;
  }
}

PluginHostFuncs funcs;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  void** table = reinterpret_cast<void**>(&funcs);
  for (int i = 0; i < kPluginHostFuncsCount; ++i)
    table[i] = reinterpret_cast<void*>(&Unexpected);
  funcs.GetCodecName = &GetCodecName;
  funcs.GetCodecParameter = &GetCodecParameter;
  funcs.RegisterNestedStream = &RegisterNestedStream;
  funcs.HashBuffer = &HashBuffer;
  funcs.LogStream = &LogStream;
  funcs.RegisterResource = &RegisterResource;
  Check(PrecompInit(nullptr, nullptr, &funcs) == 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int64_t beyond = data[0] % 80;
  // An allocation of exactly the input's size, so that any over-read is caught.
  std::vector<uint8_t> bytes(data + 1, data + size);
  input = bytes.data();
  available = static_cast<int64_t>(bytes.size());
  last_aes_size = -1;
  hashed = 0;
  const int64_t scan_size = available > beyond ? available - beyond : 0;
  Check(PrecompScan1(7, input, scan_size, available, &Output, &Add, &funcs) == 0);
  // Rejected entries' bytes are hashed at most kMaxRejectionsPerBlock times, whole blocks
  // counted, and accepted entries' bytes once.
  const int64_t blocks = (available >> unreal::kOverlapBlockShift) + 1;
  Check(hashed <= (unreal::kMaxRejectionsPerBlock + 1) * (blocks << unreal::kOverlapBlockShift));
  return 0;
}
