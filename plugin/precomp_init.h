#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plugin/plugin_state.h"
#include "plugin/unreal.h"

namespace unreal {

// Positions asked of the host before giving up on a command that never ends.
inline constexpr int32_t kMaxCommandCodecs = 1024;
inline constexpr size_t kMaxKeyBytes = 32;

// Starts state from its defaults, then enables the codecs the command lists and takes their
// options; true when any codec is enabled.
bool InitFromCommand(void* command, const PluginHostFuncs& funcs, PluginState& state);

// The ue4 method string from the codec's main parameter: from the first part naming a method
// on, the parts joined by ':'; empty when no part names one.
std::u16string Ue4MethodFromParameter(const std::u16string& parameter);

// Pairs of hexadecimal digits to bytes, first digit high, stopping at the first pair that is
// not two digits, at the end of the text or after kMaxKeyBytes bytes.
std::vector<uint8_t> KeyBytesFromHex(const std::u16string& text);

}  // namespace unreal
