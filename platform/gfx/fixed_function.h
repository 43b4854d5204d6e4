#pragma once

#include <GL/glcorearb.h>

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "platform/gfx/ff_shader.h"
#include "platform/gfx/gl_functions.h"
#include "platform/math/d3dx_types.h"

namespace gfx {

class Device;

// Compiles and links a vertex and a fragment shader; 0 with the GL log in `errors` on failure.
GLuint LinkProgram(const GlFunctions& gl, const std::string& vertex, const std::string& fragment,
                   std::string* errors);

// Uniform locations of the generated vertex stage in one linked program, and the serials of the
// values last uploaded to it.
struct FfVertexUniforms {
  GLint wv = -1, proj = -1, normal = -1, viewport = -1, depthRange = -1, texMatrix = -1;
  GLint ambient = -1, matDiffuse = -1, matAmbient = -1, matSpecular = -1, matEmissive = -1;
  GLint matPower = -1, lightCount = -1, lightDir = -1, lightDiffuse = -1, lightSpecular = -1;
  GLint lightAmbient = -1, flipY = -1;
  uint64_t transformSerial = 0, viewportSerial = 0, stageSerial = 0, lightSerial = 0;
  float flipYValue = 0.0f;  // the value uploaded; 0 before the first

  void Locate(const GlFunctions& gl, GLuint program);
};

// The fixed-function pipeline: one program per FfKey, made on first use, and the uniforms that
// carry the device's transforms, viewport, lights, material and stage constants.
class FixedFunction {
 public:
  explicit FixedFunction(Device& device) : device_(device) {}
  ~FixedFunction();  // the device's context must be current

  // Binds the program for `key` with its uniforms up to date; false when it cannot be built.
  bool Use(const FfKey& key);
  // Brings the vertex-stage uniforms of a bound program up to date.
  void UploadVertexUniforms(FfVertexUniforms& u);
  // Brings the y flip of the bound target into a bound program (see Device::TargetFlipY).
  void UploadTargetFlip(FfVertexUniforms& u);

 private:
  struct Program {
    GLuint name = 0;
    FfVertexUniforms vertex;
    std::array<GLint, kMaxTextureStages> bump{};
    uint64_t stageSerial = 0;
  };
  void UpdateDerived();

  Device& device_;
  std::unordered_map<FfKey, Program, FfKeyHash> programs_;
  // World x view and its inverse transpose for normals, kept while the transforms stay.
  uint64_t derivedSerial_ = 0;
  D3DXMATRIX worldView_, normal_;
};

}  // namespace gfx
