#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "guarded_buffer.h"
#include "plugin/unreal.h"
#include "plugin_library.h"

namespace unreal_test {

// One codec of the host's command with its parameters; an empty parameter name is the codec's
// main parameter.
struct CodecCommand {
  std::u16string name;
  std::vector<std::pair<std::u16string, std::u16string>> params = {};
};
using Command = std::vector<CodecCommand>;

// One call the plug-in made into the host during a scan, in call order.
struct Event {
  enum class Kind { kOutput, kLog, kAdd, kNested, kHash };
  Kind kind;
  int32_t instance = 0;
  std::u16string codec;  // hash: the method asked for
  // output, hash: where the bytes lie in the input; nested: offset in the stream
  int64_t position = 0;
  int32_t stored = 0;  // hash: the size of the data hashed
  int32_t decoded = 0;
  int32_t resource_id = 0;      // add
  uint16_t reserved = 0;        // add
  bool extra_args_zero = true;  // add: the fourth argument is null; nested: the two Int32 are 0
  bool operator==(const Event&) const = default;
};
void PrintTo(const Event& event, std::ostream* out);

struct Nested {
  int64_t offset;
  int32_t stored;
  int32_t decoded;
  std::u16string codec;
  bool operator==(const Nested&) const = default;
};

// A reported stream, put together from the calls that reported it.
struct Stream {
  std::u16string codec;
  std::u16string log_codec;
  int64_t position;
  int32_t stored;
  int32_t decoded;
  int32_t resource_id;
  std::vector<Nested> nested = {};
  bool operator==(const Stream&) const = default;
};
void PrintTo(const Stream& stream, std::ostream* out);

Stream Ue3Stream(const std::u16string& codec, int64_t position, int32_t stored, int32_t decoded);
Stream MethodStream(const std::u16string& method, int64_t position, int32_t stored,
                    int32_t decoded);
Stream AesStream(const std::u16string& log_codec, int64_t position, int32_t size,
                 int32_t resource_id, std::vector<Nested> nested = {});

std::string Narrow(const std::u16string& text);

// A host precompressor for the tests: the command model, a function table whose unused entries
// record an unexpected call, SHA-1 through OpenSSL, registered resources, and recorders for
// every call the plug-in makes. Callbacks reach the host made last on the calling thread.
class TestHost {
 public:
  static constexpr int32_t kFirstResourceId = 700;
  // What HashBuffer returns: only the low byte is a Boolean.
  static constexpr uint32_t kHashTrue = 0xABCD0001;
  static constexpr uint32_t kHashFalse = 0xABCD0100;

  TestHost();
  ~TestHost();
  TestHost(const TestHost&) = delete;
  TestHost& operator=(const TestHost&) = delete;

  PluginHostFuncs* funcs() { return reinterpret_cast<PluginHostFuncs*>(table_.data()); }

  // PrecompInit with the given command.
  int32_t Init(PluginLibrary& plugin, Command command);
  // PrecompScan1 over the whole buffer, stream starts in its first size bytes; returns the
  // calls made. The scan's result must be a full 32-bit 0.
  std::vector<Event> Scan(PluginLibrary& plugin, const GuardedBuffer& input, int64_t size,
                          int32_t instance = 1);
  std::vector<Event> Scan(PluginLibrary& plugin, const GuardedBuffer& input) {
    return Scan(plugin, input, input.size());
  }

  Command command;
  std::vector<std::vector<uint8_t>> resources;  // id kFirstResourceId + index
  std::vector<int> unexpected_entries;          // table indexes called that should not be
  int hash_calls = 0;
  bool hash_fails = false;           // HashBuffer answers false
  bool endless_codec_names = false;  // GetCodecName never answers an empty name
  bool whole_texts = false;  // texts are written whole, past the kHostTextUnits the plug-in reads
  int codec_name_requests = 0;

 private:
  friend struct HostEntries;
  std::vector<void*> table_;
  std::vector<Event> events_;
  const uint8_t* input_ = nullptr;
  int64_t available_ = 0;
  TestHost* previous_ = nullptr;
};

// The streams a scan reported, checked against the report protocol: the output callback right
// before each "aes" report with its bytes, LogStream right before each add with the same
// values, nested streams only after an "aes" report, the fourth argument null, the record's
// last field 0 and resource id -1 except for "aes".
std::vector<Stream> Streams(const std::vector<Event>& events, int32_t instance = 1);

}  // namespace unreal_test
