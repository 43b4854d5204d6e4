// The plug-in's seven exports. No exception leaves them.

#include "plugin/codec_tables.h"
#include "plugin/plugin_state.h"
#include "plugin/precomp_init.h"
#include "plugin/scan_context.h"
#include "plugin/scanners.h"
#include "plugin/unreal.h"

PrecompBool PrecompInit(void* command, void* /*unused*/, PluginHostFuncs* funcs) {
  unreal::PluginState& state = unreal::GlobalState();
  if (funcs == nullptr) {
    state = unreal::PluginState{};
    return 0;
  }
  try {
    return unreal::InitFromCommand(command, *funcs, state) ? 1 : 0;
  } catch (...) {
    state = unreal::PluginState{};
    return 0;
  }
}

void PrecompFree() {}

const char16_t* PrecompCodec(int32_t index) {
  if (index < 0 || index >= static_cast<int32_t>(unreal::kCodecNames.size())) return nullptr;
  return unreal::kCodecNames[static_cast<size_t>(index)];
}

PrecompBool PrecompScan1(int32_t instance, const uint8_t* input, int64_t size, int64_t available,
                         PrecompOutputCallback output, PrecompAddCallback add,
                         PluginHostFuncs* funcs) {
  if (input == nullptr || funcs == nullptr) return 0;
  try {
    unreal::ScanContext context(unreal::GlobalState(), instance, input, size, available, output,
                                add, *funcs);
    unreal::ScanAll(context);
  } catch (...) {
  }
  return 0;
}

PrecompBool PrecompScan2() {
  return 0;
}
PrecompBool PrecompProcess() {
  return 0;
}
PrecompBool PrecompRestore() {
  return 0;
}
