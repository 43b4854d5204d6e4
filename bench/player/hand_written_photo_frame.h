#pragma once

// The passes a photo slide's frame must do, written directly against GL on the player's
// context: clear the window, draw the whole picture into it as one textured quad, swap, wait for
// the GL work to finish. The baseline of the frame benchmarks.
#include <SDL.h>

#include <cstdint>
#include <utility>

#include "platform/gfx/gl_functions.h"

class HandWrittenPhotoFrame {
 public:
  HandWrittenPhotoFrame(const gfx::GlFunctions& gl, GLuint texture, uint32_t width, uint32_t height)
      : gl_(gl), texture_(texture), width_(width), height_(height) {
    const char* vs =
        "#version 330 core\n"
        "layout(location = 0) in vec2 p;\n"
        "out vec2 uv;\n"
        // The picture fills its texture (stretched to powers of two, as the player loads it).
        "void main() { uv = vec2(p.x, 1.0 - p.y);\n"
        "  gl_Position = vec4(p * 2.0 - 1.0, 0.0, 1.0); }\n";
    const char* fs =
        "#version 330 core\n"
        "in vec2 uv; uniform sampler2D t; out vec4 c;\n"
        "void main() { c = texture(t, uv); }\n";
    program_ = gl.CreateProgram();
    for (auto [type, source] :
         {std::pair{GLenum(GL_VERTEX_SHADER), vs}, {GL_FRAGMENT_SHADER, fs}}) {
      const GLuint shader = gl.CreateShader(type);
      gl.ShaderSource(shader, 1, &source, nullptr);
      gl.CompileShader(shader);
      gl.AttachShader(program_, shader);
      gl.DeleteShader(shader);
    }
    gl.LinkProgram(program_);
    const float quad[] = {0, 0, 1, 0, 0, 1, 1, 1};
    gl.GenVertexArrays(1, &vao_);
    gl.BindVertexArray(vao_);
    gl.GenBuffers(1, &vbo_);
    gl.BindBuffer(GL_ARRAY_BUFFER, vbo_);
    gl.BufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STATIC_DRAW);
    gl.EnableVertexAttribArray(0);
    gl.VertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    gl.GenSamplers(1, &sampler_);
    gl.SamplerParameteri(sampler_, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    gl.SamplerParameteri(sampler_, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Within the picture, edge clamping samples what the player's mirrored addressing does.
    gl.SamplerParameteri(sampler_, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl.SamplerParameteri(sampler_, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  }
  ~HandWrittenPhotoFrame() {
    gl_.DeleteSamplers(1, &sampler_);
    gl_.DeleteBuffers(1, &vbo_);
    gl_.DeleteVertexArrays(1, &vao_);
    gl_.DeleteProgram(program_);
  }
  HandWrittenPhotoFrame(const HandWrittenPhotoFrame&) = delete;
  HandWrittenPhotoFrame& operator=(const HandWrittenPhotoFrame&) = delete;

  void Draw() {
    gl_.BindFramebuffer(GL_FRAMEBUFFER, 0);
    gl_.Viewport(0, 0, GLsizei(width_), GLsizei(height_));
    gl_.Disable(GL_BLEND);
    gl_.Disable(GL_DEPTH_TEST);
    gl_.Disable(GL_SCISSOR_TEST);
    gl_.Disable(GL_CULL_FACE);
    gl_.ColorMask(1, 1, 1, 1);
    gl_.ClearColor(0, 0, 0, 1);
    gl_.Clear(GL_COLOR_BUFFER_BIT);
    gl_.UseProgram(program_);
    gl_.ActiveTexture(GL_TEXTURE0);
    gl_.BindTexture(GL_TEXTURE_2D, texture_);
    gl_.BindSampler(0, sampler_);
    gl_.BindVertexArray(vao_);
    // The quad's vertices are given again each frame: after the player's draws on this context,
    // llvmpipe drew nothing from the vertex array as it was set up once.
    gl_.BindBuffer(GL_ARRAY_BUFFER, vbo_);
    gl_.VertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    gl_.DrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    SDL_GL_SwapWindow(SDL_GL_GetCurrentWindow());
    gl_.Finish();
  }

 private:
  const gfx::GlFunctions& gl_;
  GLuint texture_;
  uint32_t width_, height_;
  GLuint program_ = 0, vao_ = 0, vbo_ = 0, sampler_ = 0;
};
