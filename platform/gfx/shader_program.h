#pragma once

#include <GL/glcorearb.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/gfx/ff_shader.h"
#include "platform/gfx/fixed_function.h"
#include "platform/gfx/hresult.h"
#include "platform/gfx/resource.h"

namespace gfx {

class Device;

// A GLSL 330 program that replaces the fixed-function pipeline while it is set on the device
// (Device::SetShaderProgram): what the effect runtime's passes draw with. Render states,
// sampler states, textures, targets and blending still come from the device.
//
// Fragment stage: required. It reads `in vec4 gfx_Diffuse, gfx_Specular, gfx_TexCoord0..3`
// when the fixed-function vertex stage feeds it (no vertex source, or after
// Device::SetVertexShader(nullptr)): the vertex colours (lit when lighting is on) and each
// texture stage's coordinates after its coordinate index and texture transform.
//
// Vertex stage: optional. It reads the vertex through `gfx_Vertex` (vec4), `gfx_Normal` (vec3),
// `gfx_Color` and `gfx_SecondaryColor` (vec4, r g b a) and `gfx_MultiTexCoord0..7` (vec4),
// which the device declares, and writes gl_Position in Direct3D's clip space (z from 0 to w);
// the device adds the conversion to GL's. Names starting with gfx_ are reserved.
//
// Uniforms are reached by handle. Their values live in the program, persist while it exists,
// and are uploaded when it draws, to every variant it is linked into. Sampler uniforms take the
// texture stage they read as an int (stage 0 until set).
class ShaderProgram final : public Resource {
 public:
  // Compile errors come back in `errors` as "name(line): message" lines of the GL log.
  [[nodiscard]] static HResult Create(Device* device, std::string_view name,
                                      std::string_view vertexSource,
                                      std::string_view fragmentSource, ShaderProgram** out,
                                      std::string* errors);

  const std::string& Name() const { return name_; }
  // -1 when the program has no active uniform of that name (array names without "[0]").
  int UniformHandle(std::string_view name) const;
  // Sets the leading `count` values: floats for float, vector and matrix uniforms (matrices in
  // D3DX layout, uploaded unchanged), ints for int, bool and sampler uniforms. Values beyond
  // the uniform's size are ignored; a call of the wrong kind does nothing.
  void SetFloats(int handle, const float* values, uint32_t count);
  void SetInts(int handle, const int32_t* values, uint32_t count);

  // Binds the variant for the current draw with its uniforms; false when it cannot be built.
  bool Use(Device& device, const FfKey& vertexKey, bool fixedVertexStage);

 private:
  struct Uniform {
    std::string name;
    GLenum type = 0;
    bool isFloat = true;
    std::vector<float> floats;
    std::vector<int32_t> ints;
    uint64_t version = 1;
  };
  struct Variant {
    GLuint program = 0;
    bool fixedVertex = false;
    FfVertexUniforms ff;
    std::vector<GLint> locations;
    std::vector<uint64_t> uploaded;
  };

  ShaderProgram(Device* device, std::string_view name, std::string_view vertexSource,
                std::string_view fragmentSource);
  ~ShaderProgram() override;
  void DropStorage() override;
  Variant* Link(const FfKey* fixedVertexKey, std::string* errors);
  void Discover(GLuint program);
  void Upload(Variant& variant);

  std::string name_;
  std::string vertexSource_, fragmentSource_;
  std::vector<Uniform> uniforms_;
  std::map<std::string, int, std::less<>> handles_;
  Variant own_;
  std::unordered_map<FfKey, Variant, FfKeyHash> fixedVariants_;
};

}  // namespace gfx
