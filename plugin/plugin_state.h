#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace unreal {

// What PrecompInit decided: the enabled codecs, the ue4 method string and the keys' resource
// ids. Only PrecompInit writes it; scans read it and may run on several threads at once.
struct PluginState {
  std::array<bool, 3> enabled = {false, false, false};
  std::u16string ue4_method;  // codec text of ue4 compressed blocks; empty: none reported
  bool ue4_key_given = false;
  int32_t ue4_key_id = -1;
  bool ue5_key_given = false;
  int32_t ue5_key_id = -1;
};

PluginState& GlobalState();

}  // namespace unreal
