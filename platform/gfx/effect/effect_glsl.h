#pragma once

#include <string>
#include <string_view>

#include "platform/gfx/effect/effect_desc.h"

namespace gfx {

// The GLSL of one stage of a pass: the version line, the inputs of the fixed-function vertex
// stage (for a fragment stage without vertex code), a uniform for every parameter and
// sampler, the common code and the stage's own code, each behind a #line that keeps the
// effect file's line numbers.
std::string EffectStageSource(const EffectDesc& desc, const EffectCodeDesc& code,
                              bool fixedFunctionInputs);

// Compiler logs with the effect file's lines: "name: 0:12(5): error: ..." becomes
// "name(12): error: ...". Other lines stay.
std::string EffectCompileErrors(std::string_view name, std::string_view log);

}  // namespace gfx
