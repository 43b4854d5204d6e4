#pragma once

#include <cstdint>

#include "plugin/plugin_state.h"
#include "plugin/unreal.h"

namespace unreal {

// The inputs of one PrecompScan1 call, and the report path that every scanner shares.
class ScanContext {
 public:
  ScanContext(const PluginState& state, int32_t instance, const uint8_t* input, int64_t size,
              int64_t available, PrecompOutputCallback output, PrecompAddCallback add,
              const PluginHostFuncs& funcs);

  const PluginState& state() const { return state_; }
  const uint8_t* data() const { return input_; }
  // Stream starts lie below size(); nothing at or beyond available() is read.
  int64_t size() const { return size_; }
  int64_t available() const { return available_; }

  // A stream that is not encrypted. Blocks of no stored bytes are not reported: they hold
  // nothing to decode, and a table of them would give a report per 8 input bytes.
  void ReportPlain(const char16_t* log_codec, const char16_t* codec, int64_t position,
                   int32_t stored_size, int32_t decoded_size);
  // An "aes" stream: its bytes go to the output callback first; it carries the key's id.
  void ReportAes(const char16_t* log_codec, int64_t position, int32_t stored_size,
                 int32_t decoded_size, int32_t key_id);
  // A block of the "aes" stream reported last; blocks of no stored bytes are left out too.
  void RegisterNested(int64_t offset, int32_t stored_size, int32_t decoded_size,
                      const char16_t* codec);
  // True when the host confirms that data hashes to the 20-byte SHA-1 digest.
  bool Sha1Matches(int64_t position, int32_t size, const uint8_t* digest) const;

 private:
  void Add(const char16_t* log_codec, const char16_t* codec, int64_t position, int32_t stored,
           int32_t decoded, int32_t resource_id);

  const PluginState& state_;
  int32_t instance_;
  const uint8_t* input_;
  int64_t size_;
  int64_t available_;
  PrecompOutputCallback output_;
  PrecompAddCallback add_;
  const PluginHostFuncs& funcs_;
  StreamInfo info_{};
};

}  // namespace unreal
