#include "plugin/precomp_init.h"

#include <algorithm>

#include "plugin/codec_tables.h"
#include "plugin/utils.h"

namespace unreal {

namespace {

// Clears memory that held key material, in a way the compiler keeps.
void Wipe(void* data, size_t size) {
  volatile auto* bytes = static_cast<volatile uint8_t*>(data);
  for (size_t i = 0; i < size; ++i)
    bytes[i] = 0;
}

// Asks the host's text-returning entries for texts, through one buffer of
// kHostTextBufferUnits units, and takes each up to its first zero unit or kHostTextUnits units.
class HostTexts {
 public:
  HostTexts() : buffer_(kHostTextBufferUnits) {}
  // The buffer held the key texts.
  ~HostTexts() { Wipe(buffer_.data(), buffer_.size() * sizeof(char16_t)); }
  HostTexts(const HostTexts&) = delete;
  HostTexts& operator=(const HostTexts&) = delete;

  template <typename Fn, typename Last>
  std::u16string Ask(Fn fn, void* command, int32_t position, Last last) {
    if (fn == nullptr) return {};
    // Only the part read must be clear: a text the host does not end is cut at the limit.
    std::fill_n(buffer_.begin(), kHostTextUnits, u'\0');
    fn(buffer_.data(), command, position, last);
    const auto read = buffer_.begin() + kHostTextUnits;
    return std::u16string(buffer_.begin(), std::find(buffer_.begin(), read, u'\0'));
  }

 private:
  std::vector<char16_t> buffer_;
};

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Reads the codec's "k0x" option; a non-empty one marks the key given and hands its bytes to
// the host, whose resource id is kept. The bytes and the text are wiped before returning.
void TakeKeyOption(HostTexts& texts, void* command, int32_t position, const PluginHostFuncs& funcs,
                   bool& given, int32_t& id) {
  std::u16string text = texts.Ask(funcs.GetCodecParameter, command, position, u"k0x");
  if (text.empty()) return;
  given = true;
  std::vector<uint8_t> key = KeyBytesFromHex(text);
  id = funcs.RegisterResource != nullptr
           ? funcs.RegisterResource(key.data(), static_cast<int32_t>(key.size()))
           : -1;
  Wipe(key.data(), key.size());
  Wipe(text.data(), text.size() * sizeof(char16_t));
}

}  // namespace

std::u16string Ue4MethodFromParameter(const std::u16string& parameter) {
  std::u16string method;
  bool found = false;
  for (const std::u16string& part : SplitString(parameter, u':', 0x7FFFFFFE)) {
    if (found) {
      method += u':';
      method += part;
      continue;
    }
    for (std::u16string_view name : kUe4MethodNames) {
      if (EqualsIgnoreCase(part, name)) {
        found = true;
        method = part;
        break;
      }
    }
  }
  return method;
}

std::vector<uint8_t> KeyBytesFromHex(const std::u16string& text) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i + 1 < text.size() && bytes.size() < kMaxKeyBytes; i += 2) {
    const int high = HexDigit(text[i]);
    const int low = HexDigit(text[i + 1]);
    if (high < 0 || low < 0) break;
    bytes.push_back(static_cast<uint8_t>(high * 16 + low));
  }
  return bytes;
}

bool InitFromCommand(void* command, const PluginHostFuncs& funcs, PluginState& state) {
  // Nothing of an earlier command survives: a key it gave must not mark this one's entries.
  state = PluginState{};
  HostTexts texts;
  for (int32_t position = 0; position < kMaxCommandCodecs; ++position) {
    const std::u16string name =
        texts.Ask(funcs.GetCodecName, command, position, static_cast<void*>(nullptr));
    if (name.empty()) break;
    if (EqualsIgnoreCase(name, kCodecNames[kUe3])) {
      state.enabled[kUe3] = true;
    } else if (EqualsIgnoreCase(name, kCodecNames[kUe4])) {
      state.ue4_method =
          Ue4MethodFromParameter(texts.Ask(funcs.GetCodecParameter, command, position, u""));
      TakeKeyOption(texts, command, position, funcs, state.ue4_key_given, state.ue4_key_id);
      state.enabled[kUe4] = true;
    } else if (EqualsIgnoreCase(name, kCodecNames[kUe5])) {
      TakeKeyOption(texts, command, position, funcs, state.ue5_key_given, state.ue5_key_id);
      state.enabled[kUe5] = true;
    }
  }
  return state.enabled[kUe3] || state.enabled[kUe4] || state.enabled[kUe5];
}

}  // namespace unreal
