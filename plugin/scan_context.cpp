#include "plugin/scan_context.h"

#include <algorithm>
#include <cstring>

namespace unreal {

ScanContext::ScanContext(const PluginState& state, int32_t instance, const uint8_t* input,
                         int64_t size, int64_t available, PrecompOutputCallback output,
                         PrecompAddCallback add, const PluginHostFuncs& funcs)
    : state_(state),
      instance_(instance),
      input_(input),
      // Starts are only looked for where reading is allowed.
      size_(std::clamp<int64_t>(size, 0, std::max<int64_t>(available, 0))),
      available_(std::max<int64_t>(available, 0)),
      output_(output),
      add_(add),
      funcs_(funcs) {}

void ScanContext::ReportPlain(const char16_t* log_codec, const char16_t* codec, int64_t position,
                              int32_t stored_size, int32_t decoded_size) {
  if (stored_size == 0) return;
  Add(log_codec, codec, position, stored_size, decoded_size, -1);
}

void ScanContext::ReportAes(const char16_t* log_codec, int64_t position, int32_t stored_size,
                            int32_t decoded_size, int32_t key_id) {
  if (output_ != nullptr) output_(instance_, input_ + position, stored_size);
  Add(log_codec, u"aes", position, stored_size, decoded_size, key_id);
}

void ScanContext::Add(const char16_t* log_codec, const char16_t* codec, int64_t position,
                      int32_t stored, int32_t decoded, int32_t resource_id) {
  if (funcs_.LogStream != nullptr) funcs_.LogStream(log_codec, position, stored, decoded);
  info_.position = position;
  info_.stored_size = stored;
  info_.decoded_size = decoded;
  info_.resource_id = resource_id;
  info_.reserved = 0;
  if (add_ != nullptr) add_(instance_, &info_, codec, nullptr);
}

void ScanContext::RegisterNested(int64_t offset, int32_t stored_size, int32_t decoded_size,
                                 const char16_t* codec) {
  if (stored_size != 0 && funcs_.RegisterNestedStream != nullptr) {
    funcs_.RegisterNestedStream(instance_, offset, stored_size, decoded_size, codec, 0, 0);
  }
}

bool ScanContext::Sha1Matches(int64_t position, int32_t size, const uint8_t* digest) const {
  if (funcs_.HashBuffer == nullptr) return false;
  uint8_t computed[20] = {};
  const uint32_t ok = funcs_.HashBuffer(u"sha1", input_ + position, size, computed, 20);
  return (ok & 0xFF) != 0 && std::memcmp(computed, digest, 20) == 0;
}

}  // namespace unreal
