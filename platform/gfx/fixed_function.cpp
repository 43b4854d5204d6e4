#include "platform/gfx/fixed_function.h"

#include <SDL2/SDL_log.h>

#include <cstring>

#include "platform/gfx/device.h"
#include "platform/gfx/gl_cache.h"
#include "platform/math/d3dx_math.h"

namespace gfx {

namespace {

GLuint Compile(const GlFunctions& gl, GLenum type, const std::string& source, std::string* errors) {
  const GLuint shader = gl.CreateShader(type);
  const char* text = source.c_str();
  gl.ShaderSource(shader, 1, &text, nullptr);
  gl.CompileShader(shader);
  GLint ok = 0;
  gl.GetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[4096] = {};
    gl.GetShaderInfoLog(shader, sizeof log, nullptr, log);
    if (errors) *errors += log;
    gl.DeleteShader(shader);
    return 0;
  }
  return shader;
}

void UploadMatrix(const GlFunctions& gl, GLint location, const D3DXMATRIX& m) {
  float values[16];
  std::memcpy(values, &m, sizeof values);  // row-major D3DX layout, uploaded unchanged
  gl.UniformMatrix4fv(location, 1, GL_FALSE, values);
}

void UploadColor(const GlFunctions& gl, GLint location, const ColorValue& c) {
  const float v[4] = {c.r, c.g, c.b, c.a};
  gl.Uniform4fv(location, 1, v);
}

}  // namespace

GLuint LinkProgram(const GlFunctions& gl, const std::string& vertex, const std::string& fragment,
                   std::string* errors) {
  const GLuint vs = Compile(gl, GL_VERTEX_SHADER, vertex, errors);
  const GLuint fs = vs ? Compile(gl, GL_FRAGMENT_SHADER, fragment, errors) : 0;
  if (!fs) {
    if (vs) gl.DeleteShader(vs);
    return 0;
  }
  const GLuint program = gl.CreateProgram();
  gl.AttachShader(program, vs);
  gl.AttachShader(program, fs);
  gl.LinkProgram(program);
  gl.DeleteShader(vs);
  gl.DeleteShader(fs);
  GLint ok = 0;
  gl.GetProgramiv(program, GL_LINK_STATUS, &ok);
  if (!ok) {
    char log[4096] = {};
    gl.GetProgramInfoLog(program, sizeof log, nullptr, log);
    if (errors) *errors += log;
    gl.DeleteProgram(program);
    return 0;
  }
  return program;
}

void FfVertexUniforms::Locate(const GlFunctions& gl, GLuint program) {
  auto at = [&](const char* name) { return gl.GetUniformLocation(program, name); };
  wv = at("gfx_wv");
  proj = at("gfx_proj");
  normal = at("gfx_normal");
  viewport = at("gfx_viewport");
  depthRange = at("gfx_depthRange");
  texMatrix = at("gfx_texMatrix");
  ambient = at("gfx_ambient");
  matDiffuse = at("gfx_matDiffuse");
  matAmbient = at("gfx_matAmbient");
  matSpecular = at("gfx_matSpecular");
  matEmissive = at("gfx_matEmissive");
  matPower = at("gfx_matPower");
  lightCount = at("gfx_lightCount");
  lightDir = at("gfx_lightDir");
  lightDiffuse = at("gfx_lightDiffuse");
  lightSpecular = at("gfx_lightSpecular");
  lightAmbient = at("gfx_lightAmbient");
  flipY = at("gfx_flipY");
}

FixedFunction::~FixedFunction() {
  for (auto& [key, program] : programs_) {
    device_.ForgetProgram(program.name);
    device_.gl_.DeleteProgram(program.name);
  }
}

void FixedFunction::UpdateDerived() {
  if (derivedSerial_ == device_.serials_.transform) return;
  const DeviceState& s = device_.state_;
  D3DXMatrixMultiply(&worldView_, &s.world, &s.view);
  D3DXMATRIX inverse;
  if (D3DXMatrixInverse(&inverse, nullptr, &worldView_))
    D3DXMatrixTranspose(&normal_, &inverse);
  else
    normal_ = worldView_;
  derivedSerial_ = device_.serials_.transform;
}

void FixedFunction::UploadTargetFlip(FfVertexUniforms& u) {
  const float flip = device_.TargetFlipY();
  if (u.flipY < 0 || u.flipYValue == flip) return;
  device_.gl_.Uniform1fv(u.flipY, 1, &flip);
  u.flipYValue = flip;
}

void FixedFunction::UploadVertexUniforms(FfVertexUniforms& u) {
  const GlFunctions& gl = device_.gl_;
  const DeviceState& s = device_.state_;
  const Device::Serials& serials = device_.serials_;
  if (u.transformSerial != serials.transform) {
    UpdateDerived();
    if (u.wv >= 0) UploadMatrix(gl, u.wv, worldView_);
    if (u.proj >= 0) UploadMatrix(gl, u.proj, s.projection);
    if (u.normal >= 0) UploadMatrix(gl, u.normal, normal_);
    u.transformSerial = serials.transform;
  }
  UploadTargetFlip(u);
  if (u.viewportSerial != serials.viewport) {
    const Viewport& v = s.viewport;
    const float rect[4] = {float(v.x), float(v.y), float(v.width), float(v.height)};
    const float range[2] = {v.minZ, v.maxZ};
    if (u.viewport >= 0) gl.Uniform4fv(u.viewport, 1, rect);
    if (u.depthRange >= 0) gl.Uniform2fv(u.depthRange, 1, range);
    u.viewportSerial = serials.viewport;
  }
  if (u.stageSerial != serials.stage) {
    if (u.texMatrix >= 0) {
      float values[16 * kMaxTextureStages];
      for (int i = 0; i < kMaxTextureStages; ++i)
        std::memcpy(values + 16 * i, &s.texture[i], 64);
      gl.UniformMatrix4fv(u.texMatrix, kMaxTextureStages, GL_FALSE, values);
    }
    u.stageSerial = serials.stage;
  }
  if (u.lightSerial != serials.light && u.lightCount >= 0) {
    const uint32_t a = s.Get(RenderState::Ambient);
    UploadColor(gl, u.ambient,
                {((a >> 16) & 0xFF) / 255.0f, ((a >> 8) & 0xFF) / 255.0f, (a & 0xFF) / 255.0f,
                 (a >> 24) / 255.0f});
    UploadColor(gl, u.matDiffuse, s.material.diffuse);
    UploadColor(gl, u.matAmbient, s.material.ambient);
    UploadColor(gl, u.matSpecular, s.material.specular);
    UploadColor(gl, u.matEmissive, s.material.emissive);
    gl.Uniform1fv(u.matPower, 1, &s.material.power);
    // Enabled directional lights, turned into camera space and pointing towards the light.
    float dir[3 * kMaxLights], diffuse[4 * kMaxLights], specular[4 * kMaxLights],
        ambient[4 * kMaxLights];
    int count = 0;
    for (int i = 0; i < kMaxLights; ++i) {
      const Light& l = s.lights[i];
      if (!s.lightEnabled[i] || l.type != LightType::Directional) continue;
      D3DXVECTOR3 d;
      D3DXVec3TransformNormal(&d, &l.direction, &s.view);
      D3DXVec3Normalize(&d, &d);
      dir[3 * count] = -d.x, dir[3 * count + 1] = -d.y, dir[3 * count + 2] = -d.z;
      auto put = [&](float* out, const ColorValue& c) {
        out[4 * count] = c.r, out[4 * count + 1] = c.g, out[4 * count + 2] = c.b,
                out[4 * count + 3] = c.a;
      };
      put(diffuse, l.diffuse);
      put(specular, l.specular);
      put(ambient, l.ambient);
      ++count;
    }
    gl.Uniform1iv(u.lightCount, 1, &count);
    if (count) {
      gl.Uniform3fv(u.lightDir, count, dir);
      gl.Uniform4fv(u.lightDiffuse, count, diffuse);
      if (u.lightSpecular >= 0) gl.Uniform4fv(u.lightSpecular, count, specular);
      gl.Uniform4fv(u.lightAmbient, count, ambient);
    }
    u.lightSerial = serials.light;
  }
}

bool FixedFunction::Use(const FfKey& key) {
  const GlFunctions& gl = device_.gl_;
  auto it = programs_.find(key);
  if (it == programs_.end()) {
    Program p;
    std::string errors;
    p.name = LinkProgram(gl, GenerateFfVertexShader(key), GenerateFfFragmentShader(key), &errors);
    if (!p.name) {
      SDL_Log("fixed-function program failed: %s", errors.c_str());
      return false;
    }
    device_.cache_->UseProgram(p.name);
    p.vertex.Locate(gl, p.name);
    for (int i = 0; i < kMaxTextureStages; ++i) {
      const std::string n = std::to_string(i);
      const GLint sampler = gl.GetUniformLocation(p.name, ("gfx_tex" + n).c_str());
      if (sampler >= 0) gl.Uniform1i(sampler, i);
      p.bump[i] = gl.GetUniformLocation(p.name, ("gfx_bump" + n).c_str());
    }
    it = programs_.emplace(key, p).first;
  }
  Program& p = it->second;
  device_.cache_->UseProgram(p.name);
  UploadVertexUniforms(p.vertex);
  if (p.stageSerial != device_.serials_.stage) {
    for (int i = 0; i < kMaxTextureStages; ++i) {
      if (p.bump[i] < 0) continue;
      const DeviceState& s = device_.state_;
      const float m[4] = {BitsFloat(s.Get(i, TextureStageState::BumpEnvMat00)),
                          BitsFloat(s.Get(i, TextureStageState::BumpEnvMat01)),
                          BitsFloat(s.Get(i, TextureStageState::BumpEnvMat10)),
                          BitsFloat(s.Get(i, TextureStageState::BumpEnvMat11))};
      gl.Uniform4fv(p.bump[i], 1, m);
    }
    p.stageSerial = device_.serials_.stage;
  }
  return true;
}

}  // namespace gfx
