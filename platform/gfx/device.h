#pragma once

#include <SDL2/SDL_video.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/gfx/buffers.h"
#include "platform/gfx/descs.h"
#include "platform/gfx/device_state.h"
#include "platform/gfx/frame_log.h"
#include "platform/gfx/gl_functions.h"
#include "platform/gfx/hresult.h"
#include "platform/gfx/refusal_log.h"
#include "platform/gfx/surface.h"
#include "platform/gfx/texture.h"
#include "platform/gfx/unknown.h"

namespace gfx {

class FixedFunction;
class GlCache;
class ShaderProgram;

// The drawing device: the subset of a Direct3D 9 device that the scene code uses, on OpenGL 3.3
// core. Fixed-function drawing is emulated with generated GLSL. Conventions:
// - Matrices are row-vector D3DX matrices and are uploaded unchanged.
// - Clip-space z runs from 0 to 1 as in Direct3D; the backend remaps it.
// - Every texture and render target is addressed top-left first; pre-transformed (XYZRHW)
//   positions are pixels from the top-left of the current target, pixel i covering [i, i + 1).
//   The back buffer is drawn straight into the window when the window can hold it (same size,
//   the alpha it needs) and no draw on it needs the depth surface: the projection then flips y
//   and Present only swaps. Otherwise it is an offscreen target that Present copies into the
//   window the right way up; a frame that starts in the window moves there (one copy) at its
//   first draw on the back buffer with depth, and the next frame starts there. Culling keeps
//   its Direct3D meaning: CCW culls triangles that run counter-clockwise on the target as seen
//   with y growing downwards.
// - An X8R8G8B8 back buffer has no alpha: it reads as 0xFF, and destination alpha is 1.
// - Vertex colours are 0xAARRGGBB Dwords (BGRA bytes in memory).
// Only the thread that created the device may use it.
//
// Creating a device:
// - On a player window: call PrepareWindowAttributes() before SDL_CreateWindow, create the
//   window with SDL_WINDOW_OPENGL, then CreateOnWindow(window, ...): the device makes its own
//   OpenGL 3.3 core context on the window and owns it.
// - On a context the caller made (current on this thread, OpenGL 3.3 core or later):
//   CreateOnContext(window, context, ...); the caller keeps the context and destroys it after
//   the device.
// - Headless (tests, benchmarks): CreateHeadless(width, height, ...) starts SDL's video with
//   the "offscreen" driver (an EGL context on Mesa's llvmpipe) unless SDL video already runs
//   (it then stays up for the process), and owns a hidden window and its context.
class Device final : public Unknown {
 public:
  static void PrepareWindowAttributes();
  [[nodiscard]] static HResult CreateOnWindow(SDL_Window* window, const PresentParameters& params,
                                              Device** out);
  [[nodiscard]] static HResult CreateOnContext(SDL_Window* window, SDL_GLContext context,
                                               const PresentParameters& params, Device** out);
  [[nodiscard]] static HResult CreateHeadless(uint32_t width, uint32_t height, Device** out,
                                              Format backBufferFormat = Format::X8R8G8B8);

  // ---- loss and reset ----
  // kOk, kDeviceLost while a loss lasts, kDeviceNotReset once Reset can bring the device back.
  [[nodiscard]] HResult TestCooperativeLevel() const;
  // Starts a loss: calls every onLost hook, drops the storage of Default-pool objects; draws and
  // Present do nothing until Reset.
  void SimulateLoss();
  // Ends a simulated loss: the device now waits for Reset.
  void EndSimulatedLoss();
  // Brings a lost device back, or changes the back buffer of a working one (which loses it
  // first): makes a new back buffer and depth surface, restores the default state and calls
  // every onReset hook. kDeviceLost while the loss lasts.
  [[nodiscard]] HResult Reset(const PresentParameters& params);
  // Hooks called at a loss and after a reset, in the order they were added.
  using HookId = uint32_t;
  HookId AddLossHooks(std::function<void()> onLost, std::function<void()> onReset);
  void RemoveLossHooks(HookId id);
  const PresentParameters& GetPresentParameters() const { return params_; }

  // Calls that the device can refuse (kInvalidCall) take the caller's site as their last
  // parameter, so that debug builds log why, once per site (refusal_log.h). Results that leave
  // the caller without what it asked for (objects, values read, a scene) must be tested.

  // ---- frames ----
  [[nodiscard]] HResult BeginScene(CallSite site = CallSite::current());
  HResult EndScene(CallSite site = CallSite::current());
  // Shows the back buffer on the window (scaled to its drawable size) and ends the frame log's
  // frame.
  HResult Present(CallSite site = CallSite::current());
  // Fills the viewport (and the given rectangles within it) of the current target and depth
  // surface. The colour write mask does not apply. kInvalidCall for ZBUFFER or STENCIL without
  // a depth surface.
  HResult Clear(uint32_t rectCount, const Rect* rects, uint32_t flags, uint32_t color, float z,
                uint32_t stencil, CallSite site = CallSite::current());

  // ---- state ----
  HResult SetRenderState(RenderState state, uint32_t value, CallSite site = CallSite::current());
  [[nodiscard]] HResult GetRenderState(RenderState state, uint32_t* value,
                                       CallSite site = CallSite::current()) const;
  HResult SetTextureStageState(uint32_t stage, TextureStageState type, uint32_t value,
                               CallSite site = CallSite::current());
  [[nodiscard]] HResult GetTextureStageState(uint32_t stage, TextureStageState type,
                                             uint32_t* value,
                                             CallSite site = CallSite::current()) const;
  HResult SetSamplerState(uint32_t sampler, SamplerState type, uint32_t value,
                          CallSite site = CallSite::current());
  [[nodiscard]] HResult GetSamplerState(uint32_t sampler, SamplerState type, uint32_t* value,
                                        CallSite site = CallSite::current()) const;
  HResult SetTransform(TransformState state, const D3DXMATRIX* matrix,
                       CallSite site = CallSite::current());
  [[nodiscard]] HResult GetTransform(TransformState state, D3DXMATRIX* matrix,
                                     CallSite site = CallSite::current()) const;
  HResult SetViewport(const Viewport* viewport, CallSite site = CallSite::current());
  [[nodiscard]] HResult GetViewport(Viewport* viewport, CallSite site = CallSite::current()) const;
  HResult SetLight(uint32_t index, const Light* light, CallSite site = CallSite::current());
  [[nodiscard]] HResult GetLight(uint32_t index, Light* light,
                                 CallSite site = CallSite::current()) const;
  HResult LightEnable(uint32_t index, bool enable, CallSite site = CallSite::current());
  [[nodiscard]] HResult GetLightEnable(uint32_t index, bool* enable,
                                       CallSite site = CallSite::current()) const;
  HResult SetMaterial(const Material* material, CallSite site = CallSite::current());
  [[nodiscard]] HResult GetMaterial(Material* material, CallSite site = CallSite::current()) const;
  const DeviceState& State() const { return state_; }

  // ---- bound objects (the device holds a reference to each) ----
  HResult SetTexture(uint32_t stage, Texture* texture, CallSite site = CallSite::current());
  // Referenced; may be null.
  [[nodiscard]] HResult GetTexture(uint32_t stage, Texture** texture,
                                   CallSite site = CallSite::current()) const;
  HResult SetFVF(uint32_t fvf);
  [[nodiscard]] HResult GetFVF(uint32_t* fvf, CallSite site = CallSite::current()) const;
  HResult SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset, uint32_t stride,
                          CallSite site = CallSite::current());
  [[nodiscard]] HResult GetStreamSource(uint32_t stream, VertexBuffer** buffer, uint32_t* offset,
                                        uint32_t* stride,
                                        CallSite site = CallSite::current()) const;
  HResult SetIndices(IndexBuffer* indices);
  [[nodiscard]] HResult GetIndices(IndexBuffer** indices,
                                   CallSite site = CallSite::current()) const;
  // Only null is accepted: fixed-function vertex processing (for a bound shader program too).
  HResult SetVertexShader(std::nullptr_t);
  // Target 0 only. Setting one resets the viewport to the whole target.
  HResult SetRenderTarget(uint32_t index, Surface* surface, CallSite site = CallSite::current());
  [[nodiscard]] HResult GetRenderTarget(uint32_t index, Surface** surface,
                                        CallSite site = CallSite::current()) const;
  // Null: no depth test or write.
  HResult SetDepthStencilSurface(Surface* surface, CallSite site = CallSite::current());
  // kNotFound (and null) when no depth surface is set.
  [[nodiscard]] HResult GetDepthStencilSurface(Surface** surface,
                                               CallSite site = CallSite::current()) const;
  [[nodiscard]] HResult GetBackBuffer(uint32_t swapChain, uint32_t index, uint32_t type,
                                      Surface** out, CallSite site = CallSite::current()) const;

  // ---- drawing ----
  HResult DrawPrimitive(PrimitiveType type, uint32_t startVertex, uint32_t primitiveCount,
                        CallSite site = CallSite::current());
  // Indices are read from startIndex; baseVertexIndex is added to each after it is read, so
  // 16-bit index buffers reach vertices past 65,535.
  HResult DrawIndexedPrimitive(PrimitiveType type, int32_t baseVertexIndex, uint32_t minVertexIndex,
                               uint32_t numVertices, uint32_t startIndex, uint32_t primitiveCount,
                               CallSite site = CallSite::current());

  // ---- objects ----
  // `levels` 0 makes the full mip chain. Render targets must be in the Default pool. R8G8B8 is
  // made as X8R8G8B8 (32-bit pixels). Width and height go up to kMaxTextureSize.
  [[nodiscard]] HResult CreateTexture(uint32_t width, uint32_t height, uint32_t levels,
                                      uint32_t usage, Format format, Pool pool, Texture** out,
                                      CallSite site = CallSite::current());
  [[nodiscard]] HResult CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, Pool pool,
                                           VertexBuffer** out, CallSite site = CallSite::current());
  [[nodiscard]] HResult CreateIndexBuffer(uint32_t length, uint32_t usage, Format format, Pool pool,
                                          IndexBuffer** out, CallSite site = CallSite::current());

  // ---- capabilities ----
  [[nodiscard]] HResult GetDeviceCaps(Caps* caps, CallSite site = CallSite::current()) const;
  // kOk when a resource of that type, format and usage can be made, else kNotAvailable.
  [[nodiscard]] HResult CheckDeviceFormat(uint32_t usage, ResourceType type, Format format) const;

  // ---- shader programs (the effect runtime's passes) ----
  // While a program is set it replaces the fixed-function pipeline (see shader_program.h).
  HResult SetShaderProgram(ShaderProgram* program);
  ShaderProgram* GetShaderProgram() const { return program_.Get(); }
  // The name the frame log records for the following draws (an effect's technique).
  void SetTechniqueLabel(std::string_view label) { technique_ = label; }

  // Everything an effect saves at Begin and restores at End: the state values, the textures and
  // the shader program.
  struct StateBlock {
    DeviceState state;
    std::array<ComPtr<Texture>, kMaxTextureStages> textures;
    ComPtr<ShaderProgram> program;
  };
  StateBlock CaptureStateBlock() const;
  void ApplyStateBlock(const StateBlock& block);

  // ---- frame log for tests ----
  void EnableFrameLog(bool enable);
  const std::vector<FrameLogEntry>& CurrentFrameLog() const { return log_; }
  // The entries of the frame that the last Present ended.
  const std::vector<FrameLogEntry>& LastFrameLog() const { return lastLog_; }
  // Called, while the log is enabled, after each draw and clear that the device does in GL, with
  // the GL state of that work still bound: a benchmark captures a frame's GL work through it to
  // replay it. A clear that waits or repeats the last one is reported when its GL work is done,
  // if ever. Null: none.
  using FrameLogObserver = std::function<void(const FrameLogEntry&)>;
  void SetFrameLogObserver(FrameLogObserver observer) { logObserver_ = std::move(observer); }

  // ---- for the platform layer's own GL code ----
  const GlFunctions& Gl() const { return gl_; }
  // Something wrote to a surface without a draw (a texture upload): the next clear is done.
  void ForgetClear() { lastClear_.reset(); }
  // Makes this device's context current when another device's was.
  void MakeCurrent() const;
  void Register(Resource* resource) { resources_.insert(resource); }
  void Unregister(Resource* resource) { resources_.erase(resource); }
  // The texture unit the layer uses for uploads, so that no stage binding is disturbed.
  static constexpr int kScratchUnit = kMaxTextureStages;
  // Binds `texture` on the scratch unit for an upload.
  void BindForUpload(GLuint texture);
  // Forgets cached GL bindings of a texture, buffer or program about to be deleted.
  void ForgetTexture(GLuint name);
  void ForgetRenderbuffer(GLuint name);
  void ForgetProgram(GLuint name);
  // Forgets what the device knows of GL bindings and switches, after GL calls of others on
  // its context.
  void ResetGlStateCache();
  // Binds the FBO that shows `surface` for reading; returns false when it cannot.
  bool BindForRead(const Surface* surface);
  // The back buffer's pixels are in the window now: its rows read bottom first.
  bool BackBufferInWindow() const { return backBufferInWindow_; }
  // The sign of clip-space y on the bound target: -1 on targets stored top row first, 1 on the
  // window.
  float TargetFlipY() const { return targetInWindow_ ? 1.0f : -1.0f; }

 private:
  enum class Status { Operational, Lost, NotReset };
  struct Hooks {
    HookId id;
    std::function<void()> onLost, onReset;
  };

  Device();
  ~Device() override;
  HResult Initialise(SDL_Window* window, SDL_GLContext context, bool ownsContext,
                     const PresentParameters& params);
  HResult CreateBackBuffer();
  void ResetStateToDefaults();
  void DropDefaultPool();
  void Log(FrameLogEntry entry);
  // Binds the current target and depth surface; `needsDepth` when the work reads or writes
  // depth, which moves the back buffer out of the window.
  bool BindTarget(bool needsDepth);
  // Whether the back buffer can be the window's own framebuffer this frame.
  void ChooseBackBufferPlace();
  void MoveBackBufferOffscreen();
  // The GL work of Clear on `target`, which is bound, within `area` (in its pixels).
  void ClearTarget(const Surface& target, const Viewport& area, uint32_t rectCount,
                   const Rect* rects, uint32_t flags, uint32_t color, float z, uint32_t stencil);
  // Does the clear of the back buffer that waits, if any.
  void FlushBackBufferClear();
  HResult Draw(PrimitiveType type, uint32_t primitiveCount, bool indexed, int32_t baseVertex,
               uint32_t first, const CallSite& site);

  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
  bool ownsContext_ = false;
  bool ownsWindow_ = false;
  GlFunctions gl_;
  PresentParameters params_;
  Status status_ = Status::Operational;
  bool inScene_ = false;

  DeviceState state_;
  std::array<ComPtr<Texture>, kMaxTextureStages> textures_;
  ComPtr<VertexBuffer> stream_;
  uint32_t streamOffset_ = 0, streamStride_ = 0;
  ComPtr<IndexBuffer> indices_;
  ComPtr<Surface> renderTarget_, depthStencil_;
  ComPtr<Surface> backBuffer_, autoDepth_;
  int windowAlphaBits_ = 0;
  std::optional<std::array<int, 2>> fixedSurface_;  // a window surface that never resizes
  bool backBufferInWindow_ = false;                 // its pixels are in the window's framebuffer
  bool depthOnBackBuffer_ = false;                  // this frame drew on it with depth
  bool targetInWindow_ = false;                     // the bound target is the window
  ComPtr<ShaderProgram> program_;
  bool fixedVertexStage_ = false;
  uint32_t enabledAttribs_ = 0;  // SetVertexShader(nullptr) since the program was set
  std::string technique_;

  std::unordered_set<Resource*> resources_;
  std::vector<Hooks> hooks_;
  HookId nextHook_ = 1;
  bool logEnabled_ = false;
  std::vector<FrameLogEntry> log_, lastLog_;
  FrameLogObserver logObserver_;
  // The last clear of the whole viewport of the bound surfaces while nothing has written to
  // them since: the same clear again changes no pixel and does no GL work. Draws, uploads,
  // target changes, Present and losses forget it.
  struct ClearRecord {
    uint32_t flags = 0, color = 0, stencil = 0;
    float z = 0.0f;
    Viewport viewport;
    friend bool operator==(const ClearRecord&, const ClearRecord&) = default;
  };
  std::optional<ClearRecord> lastClear_;
  // The colour of a clear of the whole back buffer (colour only) that has not been done yet: a
  // frame clears it more than once before it draws on it. A later such clear replaces it; it is
  // done before anything draws on, reads or shows the back buffer.
  std::optional<uint32_t> pendingBackBufferClear_;

  // Bumped when the values behind the fixed-function uniforms change, so that programs upload
  // them only then.
  struct Serials {
    uint64_t transform = 1, viewport = 1, stage = 1, light = 1;
  } serials_;
  std::unique_ptr<GlCache> cache_;
  std::unique_ptr<FixedFunction> fixedFunction_;

  friend class FixedFunction;
  friend class GlCache;
  friend class ShaderProgram;
};

}  // namespace gfx
