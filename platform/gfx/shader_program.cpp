#include "platform/gfx/shader_program.h"

#include <SDL2/SDL_log.h>

#include <algorithm>
#include <cstring>
#include <sstream>

#include "platform/gfx/device.h"
#include "platform/gfx/gl_cache.h"

namespace gfx {

namespace {

// Splits off a leading #version line; the rest follows the device's declarations.
std::pair<std::string, std::string> SplitVersion(std::string_view source) {
  const size_t start = source.find_first_not_of(" \t\r\n");
  if (start != std::string_view::npos && source.substr(start, 8) == "#version") {
    const size_t end = source.find('\n', start);
    if (end == std::string_view::npos) return {std::string(source) + "\n", ""};
    return {std::string(source.substr(0, end + 1)), std::string(source.substr(end + 1))};
  }
  return {"#version 330 core\n", std::string(source)};
}

int VersionLines(std::string_view source) {
  const size_t start = source.find_first_not_of(" \t\r\n");
  if (start == std::string_view::npos || source.substr(start, 8) != "#version") return 0;
  return int(std::count(source.begin(), source.begin() + long(source.find('\n', start) + 1), '\n'));
}

// The user's vertex stage behind the device's attribute declarations; its main is renamed so
// that the device's own main can turn Direct3D clip space into GL's afterwards.
std::string WrapVertex(std::string_view source) {
  auto [version, body] = SplitVersion(source);
  std::string s = version;
  s += "layout(location = 0) in vec4 gfx_Vertex;\n";
  s += "layout(location = 1) in vec3 gfx_Normal;\n";
  s += "layout(location = 2) in vec4 gfx_Color;\n";
  s += "layout(location = 3) in vec4 gfx_SecondaryColor;\n";
  for (int i = 0; i < kMaxTexCoordSets; ++i)
    s += "layout(location = " + std::to_string(kAttribTexCoord0 + i) +
         ") in vec4 gfx_MultiTexCoord" + std::to_string(i) + ";\n";
  s += "uniform float gfx_flipY;\n";
  s += "#define main gfx_user_main\n#line " + std::to_string(VersionLines(source) + 1) + "\n";
  s += body;
  s += "\n#undef main\nvoid main() {\n  gfx_user_main();\n"
       "  gl_Position = vec4(gl_Position.x, gfx_flipY * gl_Position.y,"
       " 2.0 * gl_Position.z - gl_Position.w,"
       " gl_Position.w);\n}\n";
  return s;
}

std::string Fragment(std::string_view source) {
  auto [version, body] = SplitVersion(source);
  return version + "#line " + std::to_string(VersionLines(source) + 1) + "\n" + body;
}

// GL logs name lines as "0:12(3): error: ..." or "0(12) : error ..."; each line gets the
// program's name in front.
std::string NameLog(std::string_view name, const std::string& log) {
  std::istringstream in(log);
  std::string line, out;
  while (std::getline(in, line))
    if (!line.empty()) out += std::string(name) + ": " + line + "\n";
  return out;
}

int Components(GLenum type) {
  switch (type) {
    case GL_FLOAT_VEC2:
    case GL_INT_VEC2:
    case GL_BOOL_VEC2:
      return 2;
    case GL_FLOAT_VEC3:
    case GL_INT_VEC3:
    case GL_BOOL_VEC3:
      return 3;
    case GL_FLOAT_VEC4:
    case GL_INT_VEC4:
    case GL_BOOL_VEC4:
    case GL_FLOAT_MAT2:
      return 4;
    case GL_FLOAT_MAT3:
      return 9;
    case GL_FLOAT_MAT4:
      return 16;
    default:
      return 1;
  }
}

bool IsFloat(GLenum type) {
  switch (type) {
    case GL_FLOAT:
    case GL_FLOAT_VEC2:
    case GL_FLOAT_VEC3:
    case GL_FLOAT_VEC4:
    case GL_FLOAT_MAT2:
    case GL_FLOAT_MAT3:
    case GL_FLOAT_MAT4:
      return true;
    default:
      return false;
  }
}

}  // namespace

HResult ShaderProgram::Create(Device* device, std::string_view name, std::string_view vertexSource,
                              std::string_view fragmentSource, ShaderProgram** out,
                              std::string* errors) {
  if (!out) return kInvalidCall;
  *out = nullptr;
  if (!device || fragmentSource.empty()) return kInvalidCall;
  device->MakeCurrent();
  auto program =
      ComPtr<ShaderProgram>::Attach(new ShaderProgram(device, name, vertexSource, fragmentSource));
  // Link one variant now: it reports compile errors and tells the uniforms.
  const FvfLayout layout = FvfLayout::Decode(Fvf::Xyz | Fvf::Diffuse | Fvf::Tex1);
  const FfKey key = FfKey::Make(device->State(), layout, 0).VertexPart();
  std::string log;
  if (!program->Link(vertexSource.empty() ? &key : nullptr, &log)) {
    if (errors) *errors = log;
    return kFail;
  }
  *out = program.Detach();
  return kOk;
}

ShaderProgram::ShaderProgram(Device* device, std::string_view name, std::string_view vertexSource,
                             std::string_view fragmentSource)
    : Resource(device, Pool::Managed),
      name_(name),
      vertexSource_(vertexSource),
      fragmentSource_(fragmentSource) {}

ShaderProgram::~ShaderProgram() {
  DropStorage();
}

void ShaderProgram::DropStorage() {
  if (device_) {
    device_->MakeCurrent();
    auto drop = [&](Variant& v) {
      if (!v.program) return;
      device_->ForgetProgram(v.program);
      device_->Gl().DeleteProgram(v.program);
    };
    drop(own_);
    for (auto& [key, variant] : fixedVariants_)
      drop(variant);
  }
  own_ = {};
  fixedVariants_.clear();
  lost_ = true;
}

ShaderProgram::Variant* ShaderProgram::Link(const FfKey* fixedVertexKey, std::string* errors) {
  const GlFunctions& gl = device_->Gl();
  const std::string vertex =
      fixedVertexKey ? GenerateFfVertexShader(*fixedVertexKey) : WrapVertex(vertexSource_);
  std::string log;
  const GLuint program = LinkProgram(gl, vertex, Fragment(fragmentSource_), &log);
  if (!program) {
    if (errors) *errors = NameLog(name_, log);
    return nullptr;
  }
  if (uniforms_.empty()) Discover(program);
  Variant v;
  v.program = program;
  v.fixedVertex = fixedVertexKey != nullptr;
  if (v.fixedVertex)
    v.ff.Locate(gl, program);
  else
    v.ff.flipY = gl.GetUniformLocation(program, "gfx_flipY");
  for (const Uniform& u : uniforms_)
    v.locations.push_back(gl.GetUniformLocation(program, u.name.c_str()));
  v.uploaded.assign(uniforms_.size(), 0);
  if (fixedVertexKey) return &fixedVariants_.emplace(*fixedVertexKey, std::move(v)).first->second;
  own_ = std::move(v);
  return &own_;
}

void ShaderProgram::Discover(GLuint program) {
  const GlFunctions& gl = device_->Gl();
  GLint count = 0;
  gl.GetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
  for (GLint i = 0; i < count; ++i) {
    char buffer[256] = {};
    GLint size = 0;
    GLenum type = 0;
    gl.GetActiveUniform(program, GLuint(i), sizeof buffer, nullptr, &size, &type, buffer);
    std::string name = buffer;
    if (name.starts_with("gfx_") || name.find('.') != std::string::npos) continue;
    if (name.ends_with("[0]")) name.resize(name.size() - 3);
    Uniform u;
    u.name = name;
    u.type = type;
    u.isFloat = IsFloat(type);
    const size_t values = size_t(Components(type)) * size_t(std::max(size, 1));
    if (u.isFloat)
      u.floats.assign(values, 0.0f);
    else
      u.ints.assign(values, 0);
    handles_.emplace(name, int(uniforms_.size()));
    uniforms_.push_back(std::move(u));
  }
}

int ShaderProgram::UniformHandle(std::string_view name) const {
  const auto it = handles_.find(name);
  return it == handles_.end() ? -1 : it->second;
}

void ShaderProgram::SetFloats(int handle, const float* values, uint32_t count) {
  if (handle < 0 || size_t(handle) >= uniforms_.size() || !values) return;
  Uniform& u = uniforms_[handle];
  if (!u.isFloat) return;
  std::copy_n(values, std::min<size_t>(count, u.floats.size()), u.floats.begin());
  ++u.version;
}

void ShaderProgram::SetInts(int handle, const int32_t* values, uint32_t count) {
  if (handle < 0 || size_t(handle) >= uniforms_.size() || !values) return;
  Uniform& u = uniforms_[handle];
  if (u.isFloat) return;
  std::copy_n(values, std::min<size_t>(count, u.ints.size()), u.ints.begin());
  ++u.version;
}

void ShaderProgram::Upload(Variant& v) {
  const GlFunctions& gl = device_->Gl();
  for (size_t i = 0; i < uniforms_.size(); ++i) {
    const Uniform& u = uniforms_[i];
    if (v.uploaded[i] == u.version || v.locations[i] < 0) continue;
    const GLint at = v.locations[i];
    const GLsizei n = GLsizei((u.isFloat ? u.floats.size() : u.ints.size()) / Components(u.type));
    switch (u.type) {
      case GL_FLOAT:
        gl.Uniform1fv(at, n, u.floats.data());
        break;
      case GL_FLOAT_VEC2:
        gl.Uniform2fv(at, n, u.floats.data());
        break;
      case GL_FLOAT_VEC3:
        gl.Uniform3fv(at, n, u.floats.data());
        break;
      case GL_FLOAT_VEC4:
        gl.Uniform4fv(at, n, u.floats.data());
        break;
      case GL_FLOAT_MAT3:
        gl.UniformMatrix3fv(at, n, GL_FALSE, u.floats.data());
        break;
      case GL_FLOAT_MAT4:
        gl.UniformMatrix4fv(at, n, GL_FALSE, u.floats.data());
        break;
      default:
        if (!u.isFloat && Components(u.type) == 1) gl.Uniform1iv(at, n, u.ints.data());
        break;
    }
    v.uploaded[i] = u.version;
  }
}

bool ShaderProgram::Use(Device& device, const FfKey& vertexKey, bool fixedVertexStage) {
  if (!device_) return false;
  Variant* v = nullptr;
  const bool fixed = fixedVertexStage || vertexSource_.empty();
  if (!fixed) {
    v = own_.program ? &own_ : nullptr;
  } else if (auto it = fixedVariants_.find(vertexKey); it != fixedVariants_.end()) {
    v = &it->second;
  }
  if (!v) {
    std::string errors;
    v = Link(fixed ? &vertexKey : nullptr, &errors);
    if (!v) {
      SDL_Log("%s", errors.c_str());
      return false;
    }
  }
  device.cache_->UseProgram(v->program);
  if (v->fixedVertex)
    device.fixedFunction_->UploadVertexUniforms(v->ff);
  else
    device.fixedFunction_->UploadTargetFlip(v->ff);
  Upload(*v);
  return true;
}

}  // namespace gfx
