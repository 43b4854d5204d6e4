// One frame of a photo slide at 1920 x 1080 through the player (scene update, clear, the
// background picture, the border bars, the fade, Present) against a hand-written GL program
// doing the passes the player must do on the same context with the same picture texture:
// clear the window, draw the whole picture into it as one textured quad, swap. Both wait for
// the GL work to finish. Reports the processor time of the whole process a frame (the GL
// driver's threads included) and the ratio (player / hand-written); the target is at most 1.3.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <ctime>

#include "player/photo_player.h"
#include "ratio_counters.h"
#include "renderers/light/ds_2d_light.h"
#include "tools/project_writer/photo_slides.h"

namespace {

constexpr uint32_t kWidth = 1920, kHeight = 1080;

double ProcessSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// The passes of a frame written directly against GL.
class HandWrittenFrame {
 public:
  HandWrittenFrame(const gfx::GlFunctions& gl, GLuint texture) : gl_(gl), texture_(texture) {
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
  ~HandWrittenFrame() {
    gl_.DeleteSamplers(1, &sampler_);
    gl_.DeleteBuffers(1, &vbo_);
    gl_.DeleteVertexArrays(1, &vao_);
    gl_.DeleteProgram(program_);
  }

  void Draw() {
    gl_.BindFramebuffer(GL_FRAMEBUFFER, 0);
    gl_.Viewport(0, 0, kWidth, kHeight);
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
  GLuint program_ = 0, vao_ = 0, vbo_ = 0, sampler_ = 0;
};

void BM_PhotoSlideFrame(benchmark::State& state) {
  PhotoPlayer player{kWidth, kHeight};
  if (!player.Ready()) {
    state.SkipWithError("no headless device");
    return;
  }
  RegisterProgramClasses();
  {
    // One slide that stays: the frames show its picture without end.
    const PhotoSlides slides = WritePhotoSlides(1, int(kWidth), int(kHeight), 1e6f);
    player.SetProject(slides.project);
  }
  if (!player.Open()) {
    state.SkipWithError("project not opened");
    return;
  }
  const DS_2D_Light* renderer = player.Scene().slides[0]->renderer.Get();
  if (renderer == nullptr || !renderer->picture.texture) {
    state.SkipWithError("no picture");
    return;
  }
  HandWrittenFrame baseline(player.Device()->Gl(), renderer->picture.texture->GlName());
  double ours = 0, theirs = 0, t = 1.0;
  for (auto _ : state) {
    t += 1.0 / 60;
    const double t0 = ProcessSeconds();
    player.Frame(t);
    const double t1 = ProcessSeconds();
    baseline.Draw();
    player.Device()->ResetGlStateCache();
    const double t2 = ProcessSeconds();
    ours += t1 - t0;
    theirs += t2 - t1;
  }
  ReportRatio(state, "player_ms", ours, "handwritten_ms", theirs);
}

BENCHMARK(BM_PhotoSlideFrame)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

}  // namespace
