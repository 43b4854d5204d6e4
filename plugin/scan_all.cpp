#include "plugin/codec_tables.h"
#include "plugin/scanners.h"

namespace unreal {

void ScanAll(ScanContext& context) {
  const PluginState& state = context.state();
  const bool ue5 = state.enabled[kUe5] && state.ue5_key_given;
  if (!state.enabled[kUe3] && !state.enabled[kUe4] && !ue5) return;
  CandidateIndex candidates(context.data(), context.size());
  if (state.enabled[kUe3]) ScanUe3(context, candidates);
  if (state.enabled[kUe4]) ScanUe4(context, candidates);
  if (ue5) ScanUe5(context, candidates);
}

}  // namespace unreal
