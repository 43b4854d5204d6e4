#include "platform/gfx/effect/effect_glsl.h"

#include <cctype>

#include "platform/gfx/states.h"

namespace gfx {

namespace {

const char* GlslType(EffectParamType type) {
  switch (type) {
    case EffectParamType::Float:
      return "float";
    case EffectParamType::Float2:
      return "vec2";
    case EffectParamType::Float3:
      return "vec3";
    case EffectParamType::Float4:
      return "vec4";
    case EffectParamType::Float4x4:
      return "mat4";
    case EffectParamType::Texture:
      break;
  }
  return nullptr;
}

void AppendCode(std::string& s, const EffectCodeDesc& code) {
  s += "#line " + std::to_string(code.firstLine) + "\n";
  s += code.text;
}

}  // namespace

std::string EffectStageSource(const EffectDesc& desc, const EffectCodeDesc& code,
                              bool fixedFunctionInputs) {
  std::string s = "#version 330 core\n";
  if (fixedFunctionInputs) {
    s += "in vec4 gfx_Diffuse;\nin vec4 gfx_Specular;\n";
    for (int i = 0; i < kMaxTextureStages; ++i)
      s += "in vec4 gfx_TexCoord" + std::to_string(i) + ";\n";
  }
  for (const EffectParamDesc& p : desc.parameters) {
    const char* type = GlslType(p.type);
    if (!type) continue;
    s += std::string("uniform ") + type + " " + p.name;
    if (p.arraySize) s += "[" + std::to_string(p.arraySize) + "]";
    s += ";\n";
  }
  for (const EffectSamplerDesc& sampler : desc.samplers)
    s += "uniform sampler2D " + sampler.name + ";\n";
  for (const EffectCodeDesc& common : desc.code)
    if (common.stage == EffectCodeDesc::Stage::Common) AppendCode(s, common);
  AppendCode(s, code);
  return s;
}

std::string EffectCompileErrors(std::string_view name, std::string_view log) {
  std::string out;
  const std::string prefix = std::string(name) + ": ";
  while (!log.empty()) {
    const size_t end = log.find('\n');
    std::string_view line = log.substr(0, end);
    log = end == std::string_view::npos ? std::string_view() : log.substr(end + 1);
    if (line.empty()) continue;
    // After the prefix: source number, ':', line, then "(column)" or nothing.
    std::string_view rest = line.starts_with(prefix) ? line.substr(prefix.size()) : line;
    size_t at = 0;
    while (at < rest.size() && std::isdigit(static_cast<unsigned char>(rest[at])))
      ++at;
    const size_t lineStart = at + 1;
    size_t lineEnd = lineStart;
    while (lineEnd < rest.size() && std::isdigit(static_cast<unsigned char>(rest[lineEnd])))
      ++lineEnd;
    if (at == 0 || at >= rest.size() || rest[at] != ':' || lineEnd == lineStart) {
      out += std::string(line) + "\n";
      continue;
    }
    size_t message = lineEnd;
    if (message < rest.size() && rest[message] == '(') message = rest.find(')', message) + 1;
    if (message == 0 || message > rest.size()) message = lineEnd;
    std::string_view text = rest.substr(message);
    while (!text.empty() && (text[0] == ':' || text[0] == ' '))
      text.remove_prefix(1);
    out += std::string(name) + "(" + std::string(rest.substr(lineStart, lineEnd - lineStart)) +
           "): " + std::string(text) + "\n";
  }
  return out;
}

}  // namespace gfx
