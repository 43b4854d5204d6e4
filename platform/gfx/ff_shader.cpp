#include "platform/gfx/ff_shader.h"

#include <string_view>

namespace gfx {

namespace {

uint8_t StageOp(uint32_t op) {
  switch (op) {
    case TextureOp::SelectArg1:
    case TextureOp::SelectArg2:
    case TextureOp::Modulate:
    case TextureOp::Add:
    case TextureOp::BumpEnvMap:
      return static_cast<uint8_t>(op);
    default:
      return TextureOp::Disable;
  }
}

uint8_t StageArg(uint32_t arg) {
  switch (arg & TextureArg::SelectMask) {
    case TextureArg::Diffuse:
      return TextureArg::Diffuse;
    case TextureArg::Texture:
      return TextureArg::Texture;
    case TextureArg::Specular:
      return TextureArg::Specular;
    default:
      return TextureArg::Current;
  }
}

// Whether a stage's operation reads its texture argument while the stage has no texture. Direct3D
// then passes the value so far through the stage instead (SELECTARG1 of CURRENT), so that a
// stage left selecting an unset texture does not paint over what the stages before it made.
bool ReadsMissingTexture(bool textured, uint8_t op, uint8_t arg1, uint8_t arg2) {
  if (textured || op == TextureOp::Disable || op == TextureOp::BumpEnvMap) return false;
  return (arg1 == TextureArg::Texture && op != TextureOp::SelectArg2) ||
         (arg2 == TextureArg::Texture && op != TextureOp::SelectArg1);
}

}  // namespace

FfKey FfKey::Make(const DeviceState& state, const FvfLayout& layout, uint32_t textured) {
  FfKey k;
  k.pretransformed = layout.pretransformed;
  k.hasNormal = layout.normal >= 0;
  k.hasDiffuse = layout.diffuse >= 0;
  k.hasSpecular = layout.specular >= 0;
  k.texSets = static_cast<uint8_t>(layout.texCoordSets);
  for (int i = 0; i < layout.texCoordSets; ++i)
    k.texComponents[i] = static_cast<uint8_t>(layout.texCoordComponents[i]);
  k.lighting = !layout.pretransformed && state.Get(RenderState::Lighting) != 0;
  k.specular = state.Get(RenderState::SpecularEnable) != 0;
  k.normalize = k.lighting && state.Get(RenderState::NormalizeNormals) != 0;
  k.flat = state.Get(RenderState::ShadeMode) == ShadeMode::Flat;

  bool active = true;
  for (int i = 0; i < kMaxTextureStages; ++i) {
    Stage& s = k.stages[i];
    const uint32_t index = state.Get(i, TextureStageState::TexCoordIndex);
    s.coordSet = static_cast<uint8_t>(index & 7);
    s.cameraSpacePosition = (index & TexCoordIndex::ModeMask) == TexCoordIndex::CameraSpacePosition;
    s.transform = state.Get(i, TextureStageState::TextureTransformFlags) != 0;
    const uint8_t colorOp = StageOp(state.Get(i, TextureStageState::ColorOp));
    active = active && colorOp != TextureOp::Disable;
    if (!active) continue;
    k.stageCount = static_cast<uint8_t>(i + 1);
    s.colorOp = colorOp;
    s.colorArg1 = StageArg(state.Get(i, TextureStageState::ColorArg1));
    s.colorArg2 = StageArg(state.Get(i, TextureStageState::ColorArg2));
    s.alphaOp = StageOp(state.Get(i, TextureStageState::AlphaOp));
    s.alphaArg1 = StageArg(state.Get(i, TextureStageState::AlphaArg1));
    s.alphaArg2 = StageArg(state.Get(i, TextureStageState::AlphaArg2));
    s.textured = (textured >> i) & 1;
    if (ReadsMissingTexture(s.textured, s.colorOp, s.colorArg1, s.colorArg2)) {
      s.colorOp = TextureOp::SelectArg1;
      s.colorArg1 = TextureArg::Current;
    }
    if (ReadsMissingTexture(s.textured, s.alphaOp, s.alphaArg1, s.alphaArg2)) {
      s.alphaOp = TextureOp::SelectArg1;
      s.alphaArg1 = TextureArg::Current;
    }
  }
  return k;
}

FfKey FfKey::VertexPart() const {
  FfKey k = *this;
  k.stageCount = 0;
  k.flat = 0;  // a program's fragment stage declares its inputs smooth
  for (Stage& s : k.stages)
    s = {0, 0, 0, 0, 0, 0, s.coordSet, s.cameraSpacePosition, s.transform, 0};
  return k;
}

size_t FfKeyHash::operator()(const FfKey& key) const {
  // FNV-1a over the members, which are all single bytes.
  uint64_t h = 1469598103934665603ull;
  auto mix = [&](uint8_t b) { h = (h ^ b) * 1099511628211ull; };
  for (uint8_t b : {key.pretransformed, key.hasNormal, key.hasDiffuse, key.hasSpecular, key.texSets,
                    key.lighting, key.specular, key.normalize, key.flat, key.stageCount})
    mix(b);
  for (uint8_t b : key.texComponents)
    mix(b);
  for (const FfKey::Stage& s : key.stages)
    for (uint8_t b : {s.colorOp, s.colorArg1, s.colorArg2, s.alphaOp, s.alphaArg1, s.alphaArg2,
                      s.coordSet, s.cameraSpacePosition, s.transform, s.textured})
      mix(b);
  return static_cast<size_t>(h);
}

namespace {

std::string Num(int i) {
  return std::to_string(i);
}

// A coordinate set widened to four components: the component after the last one given is 1 and
// the rest 0, so that a texture transform of two-component coordinates translates with its
// third row.
std::string TexCoordInput(const FfKey& key, int set) {
  if (set >= key.texSets) return "vec4(0.0, 0.0, 0.0, 1.0)";
  const std::string a = "a_tex" + Num(set);
  switch (key.texComponents[set]) {
    case 1:
      return "vec4(" + a + ".x, 1.0, 0.0, 0.0)";
    case 2:
      return "vec4(" + a + ".xy, 1.0, 0.0)";
    case 3:
      return "vec4(" + a + ".xyz, 1.0)";
    default:
      return a;
  }
}

}  // namespace

std::string GenerateFfVertexShader(const FfKey& key) {
  const std::string flat = key.flat ? "flat " : "";
  std::string s = "#version 330 core\n";
  s += "layout(location = 0) in vec4 a_position;\n";
  if (key.hasNormal) s += "layout(location = 1) in vec3 a_normal;\n";
  if (key.hasDiffuse) s += "layout(location = 2) in vec4 a_diffuse;\n";
  if (key.hasSpecular) s += "layout(location = 3) in vec4 a_specular;\n";
  for (int i = 0; i < key.texSets; ++i)
    s += "layout(location = " + Num(kAttribTexCoord0 + i) + ") in vec4 a_tex" + Num(i) + ";\n";
  s += R"(uniform mat4 gfx_wv;
uniform mat4 gfx_proj;
uniform mat4 gfx_normal;
uniform vec4 gfx_viewport;
// -1 on targets stored top row first, 1 on the window, whose first row is its bottom.
uniform float gfx_flipY;
uniform vec2 gfx_depthRange;
uniform mat4 gfx_texMatrix[4];
uniform vec4 gfx_ambient;
uniform vec4 gfx_matDiffuse;
uniform vec4 gfx_matAmbient;
uniform vec4 gfx_matSpecular;
uniform vec4 gfx_matEmissive;
uniform float gfx_matPower;
uniform int gfx_lightCount;
uniform vec3 gfx_lightDir[8];
uniform vec4 gfx_lightDiffuse[8];
uniform vec4 gfx_lightSpecular[8];
uniform vec4 gfx_lightAmbient[8];
)";
  s += flat + "out vec4 gfx_Diffuse;\n" + flat + "out vec4 gfx_Specular;\n";
  for (int i = 0; i < kMaxTextureStages; ++i)
    s += "out vec4 gfx_TexCoord" + Num(i) + ";\n";
  s += "void main() {\n  vec4 cameraPos = vec4(0.0, 0.0, 0.0, 1.0);\n";
  if (key.pretransformed) {
    // Pixel positions of the target; rhw is 1 / w, kept for perspective-correct interpolation.
    s += R"(  float w = a_position.w > 0.0 ? 1.0 / a_position.w : 1.0;
  vec2 ndc = vec2((a_position.x - gfx_viewport.x) / gfx_viewport.z * 2.0 - 1.0,
                  1.0 - (a_position.y - gfx_viewport.y) / gfx_viewport.w * 2.0);
  float range = gfx_depthRange.y - gfx_depthRange.x;
  float z = range != 0.0 ? (a_position.z - gfx_depthRange.x) / range : a_position.z;
  gl_Position = vec4(ndc.x * w, gfx_flipY * ndc.y * w, (2.0 * z - 1.0) * w, w);
)";
  } else {
    // y is mirrored on targets stored top row first; z goes from [0, w] to [-w, w].
    s += R"(  cameraPos = gfx_wv * a_position;
  vec4 clip = gfx_proj * cameraPos;
  gl_Position = vec4(clip.x, gfx_flipY * clip.y, 2.0 * clip.z - clip.w, clip.w);
)";
  }
  s += std::string("  vec4 diffuse = ") + (key.hasDiffuse ? "a_diffuse" : "vec4(1.0)") + ";\n";
  s += std::string("  vec4 specular = ") + (key.hasSpecular ? "a_specular" : "vec4(0.0)") + ";\n";
  if (key.lighting) {
    s += std::string("  vec3 n = ") +
         (key.hasNormal ? "(gfx_normal * vec4(a_normal, 0.0)).xyz" : "vec3(0.0)") + ";\n";
    if (key.normalize) s += "  if (dot(n, n) > 0.0) n = normalize(n);\n";
    s += std::string("  vec4 md = ") + (key.hasDiffuse ? "a_diffuse" : "gfx_matDiffuse") + ";\n";
    s += std::string("  vec4 ms = ") + (key.hasSpecular ? "a_specular" : "gfx_matSpecular") + ";\n";
    s += R"(  vec3 toEye = dot(cameraPos.xyz, cameraPos.xyz) > 0.0 ? normalize(-cameraPos.xyz)
                                                        : vec3(0.0, 0.0, -1.0);
  vec3 amb = gfx_ambient.rgb, dif = vec3(0.0), spe = vec3(0.0);
  for (int i = 0; i < gfx_lightCount; ++i) {
    amb += gfx_lightAmbient[i].rgb;
    float nl = dot(n, gfx_lightDir[i]);
    if (nl > 0.0) {
      dif += gfx_lightDiffuse[i].rgb * nl;
)";
    if (key.specular)
      s += R"(      float nh = dot(n, normalize(gfx_lightDir[i] + toEye));
      if (nh > 0.0) spe += gfx_lightSpecular[i].rgb * pow(nh, gfx_matPower);
)";
    s += R"(    }
  }
  diffuse = vec4(gfx_matEmissive.rgb + gfx_matAmbient.rgb * amb + md.rgb * dif, md.a);
  specular = vec4(ms.rgb * spe, 0.0);
)";
  }
  s += "  gfx_Diffuse = clamp(diffuse, 0.0, 1.0);\n  gfx_Specular = clamp(specular, 0.0, 1.0);\n";
  for (int i = 0; i < kMaxTextureStages; ++i) {
    const FfKey::Stage& st = key.stages[i];
    const std::string input =
        st.cameraSpacePosition ? "vec4(cameraPos.xyz, 1.0)" : TexCoordInput(key, st.coordSet);
    s += "  gfx_TexCoord" + Num(i) + " = ";
    s += st.transform ? "gfx_texMatrix[" + Num(i) + "] * " + input : input;
    s += ";\n";
  }
  s += "}\n";
  return s;
}

namespace {

std::string ArgColor(uint8_t arg, int stage) {
  switch (arg) {
    case TextureArg::Diffuse:
      return "gfx_Diffuse";
    case TextureArg::Texture:
      return "t" + Num(stage);
    case TextureArg::Specular:
      return "gfx_Specular";
    default:
      return "current";
  }
}

std::string Combine(uint8_t op, const std::string& a1, const std::string& a2,
                    const std::string& current) {
  switch (op) {
    case TextureOp::SelectArg1:
      return a1;
    case TextureOp::SelectArg2:
      return a2;
    case TextureOp::Modulate:
      return a1 + " * " + a2;
    case TextureOp::Add:
      return a1 + " + " + a2;
    default:
      return current;  // DISABLE (alpha) and the bump stage keep what came in
  }
}

}  // namespace

std::string GenerateFfFragmentShader(const FfKey& key) {
  const std::string flat = key.flat ? "flat " : "";
  std::string s = "#version 330 core\n";
  s += flat + "in vec4 gfx_Diffuse;\n" + flat + "in vec4 gfx_Specular;\n";
  for (int i = 0; i < key.stageCount; ++i) {
    s += "in vec4 gfx_TexCoord" + Num(i) + ";\n";
    s += "uniform sampler2D gfx_tex" + Num(i) + ";\n";
    s += "uniform vec4 gfx_bump" + Num(i) + ";\n";
  }
  s += "out vec4 o_color;\nvoid main() {\n  vec4 current = gfx_Diffuse;\n";
  s += "  vec2 bump = vec2(0.0);\n";
  for (int i = 0; i < key.stageCount; ++i) {
    const FfKey::Stage& st = key.stages[i];
    const std::string n = Num(i), t = "t" + n;
    // A stage without a texture reads white where it still reads one (an operation that needs
    // the texture was made a pass-through in FfKey::Make).
    s += "  vec4 " + t + " = ";
    s += st.textured ? "texture(gfx_tex" + n + ", gfx_TexCoord" + n + ".xy + bump)" : "vec4(1.0)";
    s += ";\n";
    if (st.colorOp == TextureOp::BumpEnvMap) {
      // (du, dv) of the bump map turn through the stage's matrix into an offset of the next
      // stage's coordinates; an unset bump map displaces nothing.
      s += "  vec2 duv" + n + " = " + (st.textured ? t + ".xy" : "vec2(0.0)") + ";\n";
      s += "  bump = vec2(dot(duv" + n + ", gfx_bump" + n + ".xz), dot(duv" + n + ", gfx_bump" + n +
           ".yw));\n";
    } else {
      s += "  bump = vec2(0.0);\n";
    }
    const std::string rgb = Combine(st.colorOp, ArgColor(st.colorArg1, i) + ".rgb",
                                    ArgColor(st.colorArg2, i) + ".rgb", "current.rgb");
    const std::string alpha = Combine(st.alphaOp, ArgColor(st.alphaArg1, i) + ".a",
                                      ArgColor(st.alphaArg2, i) + ".a", "current.a");
    s += "  current = clamp(vec4(" + rgb + ", " + alpha + "), 0.0, 1.0);\n";
  }
  if (key.specular) s += "  current.rgb = min(current.rgb + gfx_Specular.rgb, vec3(1.0));\n";
  s += "  o_color = current;\n}\n";
  return s;
}

}  // namespace gfx
