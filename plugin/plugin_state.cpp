#include "plugin/plugin_state.h"

namespace unreal {

PluginState& GlobalState() {
  static PluginState state;
  return state;
}

}  // namespace unreal
