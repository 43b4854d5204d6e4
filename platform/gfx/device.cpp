#include "platform/gfx/device.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/gfx/ff_shader.h"
#include "platform/gfx/fixed_function.h"
#include "platform/gfx/gl_cache.h"
#include "platform/gfx/shader_program.h"

namespace gfx {

namespace {

thread_local const Device* currentDevice = nullptr;

// The largest vertex or index buffer the device makes.
constexpr uint32_t kMaxBufferBytes = 1u << 30;

std::string BadLength(uint32_t length) {
  return "a length of " + std::to_string(length) + " bytes is outside 1 to " +
         std::to_string(kMaxBufferBytes);
}

void RequestCoreContext() {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

}  // namespace

// ---- creation and lifetime ----

void Device::PrepareWindowAttributes() {
  RequestCoreContext();
  // The player's back buffer has no alpha; a window with alpha could show through on screen.
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
}

HResult Device::CreateOnWindow(SDL_Window* window, const PresentParameters& params, Device** out) {
  if (!out) return kInvalidCall;
  *out = nullptr;
  if (!window) return kInvalidCall;
  RequestCoreContext();
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context) {
    SDL_Log("cannot create an OpenGL 3.3 core context: %s", SDL_GetError());
    return kNotAvailable;
  }
  auto* device = new Device;
  const HResult hr = device->Initialise(window, context, true, params);
  if (Failed(hr)) {
    device->Release();
    return hr;
  }
  *out = device;
  return kOk;
}

HResult Device::CreateOnContext(SDL_Window* window, SDL_GLContext context,
                                const PresentParameters& params, Device** out) {
  if (!out) return kInvalidCall;
  *out = nullptr;
  if (!window || !context) return kInvalidCall;
  auto* device = new Device;
  const HResult hr = device->Initialise(window, context, false, params);
  if (Failed(hr)) {
    device->Release();
    return hr;
  }
  *out = device;
  return kOk;
}

HResult Device::CreateHeadless(uint32_t width, uint32_t height, Device** out,
                               Format backBufferFormat) {
  if (!out) return kInvalidCall;
  *out = nullptr;
  if (width == 0 || height == 0) return kInvalidCall;
  if (!SDL_WasInit(SDL_INIT_VIDEO)) {
    // The environment's SDL_VIDEODRIVER still wins, e.g. to watch the tests on a display.
    // Video stays up for the rest of the process: starting it again for every device would
    // reload the GL driver each time.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
      SDL_Log("cannot start SDL video: %s", SDL_GetError());
      return kNotAvailable;
    }
    // Likewise the GL library: SDL unloads it with the last GL window otherwise.
    if (SDL_GL_LoadLibrary(nullptr) != 0) {
      SDL_Log("cannot load the GL library: %s", SDL_GetError());
      return kNotAvailable;
    }
  }
  RequestCoreContext();
  // The hidden window holds the back buffer itself, alpha included when the format has it.
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, backBufferFormat == Format::A8R8G8B8 ? 8 : 0);
  SDL_Window* window =
      SDL_CreateWindow("gfx", 0, 0, int(width), int(height), SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!window) {
    SDL_Log("cannot create a headless window: %s", SDL_GetError());
    return kNotAvailable;
  }
  PresentParameters params;
  params.backBufferWidth = width;
  params.backBufferHeight = height;
  params.backBufferFormat = backBufferFormat;
  params.presentationInterval = 0;
  Device* device = nullptr;
  const HResult hr = CreateOnWindow(window, params, &device);
  if (Failed(hr)) {
    SDL_DestroyWindow(window);
    return hr;
  }
  device->ownsWindow_ = true;
  *out = device;
  return kOk;
}

Device::Device() = default;

HResult Device::Initialise(SDL_Window* window, SDL_GLContext context, bool ownsContext,
                           const PresentParameters& params) {
  window_ = window;
  context_ = context;
  ownsContext_ = ownsContext;
  currentDevice = nullptr;
  MakeCurrent();
  if (!gl_.Load()) {
    SDL_Log("the OpenGL context lacks entry points of version 3.3");
    return kNotAvailable;
  }
  GLint major = 0, minor = 0;
  gl_.GetIntegerv(GL_MAJOR_VERSION, &major);
  gl_.GetIntegerv(GL_MINOR_VERSION, &minor);
  if (major * 10 + minor < 33) {
    SDL_Log("OpenGL 3.3 is needed, the context offers %d.%d", major, minor);
    return kNotAvailable;
  }
  gl_.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
  gl_.PixelStorei(GL_PACK_ALIGNMENT, 1);
  // SDL's offscreen driver keeps the surface it made with the window at that size, whatever
  // size the window takes later. A context's first viewport is its surface's size.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && std::string_view(driver) == "offscreen") {
    GLint viewport[4] = {};
    gl_.GetIntegerv(GL_VIEWPORT, viewport);
    fixedSurface_ =
        ownsContext ? std::array<int, 2>{viewport[2], viewport[3]} : std::array<int, 2>{-1, -1};
  }
  // What the window's own framebuffer offers for the back buffer (-1: none to draw into).
  gl_.BindFramebuffer(GL_FRAMEBUFFER, 0);
  if (gl_.CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE ||
      SDL_GL_GetAttribute(SDL_GL_ALPHA_SIZE, &windowAlphaBits_) != 0)
    windowAlphaBits_ = -1;
  while (gl_.GetError() != GL_NO_ERROR) {
  }
  cache_ = std::make_unique<GlCache>(gl_);
  fixedFunction_ = std::make_unique<FixedFunction>(*this);
  params_ = params;
  SDL_GL_SetSwapInterval(params.presentationInterval ? 1 : 0);
  const HResult hr = CreateBackBuffer();
  if (Failed(hr)) return hr;
  ResetStateToDefaults();
  return kOk;
}

Device::~Device() {
  if (context_) {
    MakeCurrent();
    for (auto& t : textures_)
      t.Reset();
    stream_.Reset();
    indices_.Reset();
    renderTarget_.Reset();
    depthStencil_.Reset();
    backBuffer_.Reset();
    autoDepth_.Reset();
    program_.Reset();
    // Objects still held elsewhere outlive the device as empty shells.
    const std::vector<Resource*> alive(resources_.begin(), resources_.end());
    for (Resource* r : alive) {
      r->DropStorage();
      r->device_ = nullptr;
    }
    resources_.clear();
    fixedFunction_.reset();
    cache_.reset();
    if (ownsContext_) SDL_GL_DeleteContext(context_);
  }
  if (currentDevice == this) currentDevice = nullptr;
  if (ownsWindow_) SDL_DestroyWindow(window_);
}

void Device::MakeCurrent() const {
  if (currentDevice == this) return;
  SDL_GL_MakeCurrent(window_, context_);
  currentDevice = this;
}

HResult Device::CreateBackBuffer() {
  pendingBackBufferClear_.reset();
  uint32_t width = params_.backBufferWidth, height = params_.backBufferHeight;
  if (width == 0 || height == 0) {
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window_, &w, &h);
    width = width ? width : uint32_t(std::max(w, 1));
    height = height ? height : uint32_t(std::max(h, 1));
  }
  params_.backBufferWidth = width;
  params_.backBufferHeight = height;
  if (params_.backBufferFormat != Format::A8R8G8B8) params_.backBufferFormat = Format::X8R8G8B8;
  backBuffer_ = ComPtr<Surface>::Attach(
      new Surface(this, Surface::Kind::BackBuffer, width, height, params_.backBufferFormat));
  autoDepth_.Reset();
  if (params_.enableAutoDepthStencil)
    autoDepth_ = ComPtr<Surface>::Attach(
        new Surface(this, Surface::Kind::DepthStencil, width, height, Format::D24S8));
  if (!cache_->Framebuffer(0, 0, backBuffer_->GlRenderbuffer(),
                           autoDepth_ ? autoDepth_->GlRenderbuffer() : 0))
    return kOutOfVideoMemory;
  depthOnBackBuffer_ = false;
  ChooseBackBufferPlace();
  return kOk;
}

void Device::ChooseBackBufferPlace() {
  int w = 0, h = 0;
  SDL_GL_GetDrawableSize(window_, &w, &h);
  const bool fits = windowAlphaBits_ >= 0 && backBuffer_ && uint32_t(w) == backBuffer_->Width() &&
                    uint32_t(h) == backBuffer_->Height() &&
                    (!fixedSurface_ || *fixedSurface_ == std::array<int, 2>{w, h}) &&
                    (params_.backBufferFormat != Format::A8R8G8B8 || windowAlphaBits_ >= 8);
  // A frame that needed depth on the back buffer is likely followed by one that does too.
  backBufferInWindow_ = fits && !depthOnBackBuffer_;
  depthOnBackBuffer_ = false;
}

void Device::MoveBackBufferOffscreen() {
  backBufferInWindow_ = false;
  const GLuint fbo = cache_->Framebuffer(0, 0, backBuffer_->GlRenderbuffer(), 0);
  if (!fbo) return;
  const GLint w = GLint(backBuffer_->Width()), h = GLint(backBuffer_->Height());
  gl_.BindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  gl_.BindFramebuffer(GL_DRAW_FRAMEBUFFER, fbo);
  // The window's first row is its bottom; the back buffer holds its top row first.
  gl_.BlitFramebuffer(0, 0, w, h, 0, h, w, 0, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  cache_->Invalidate();
}

void Device::ResetStateToDefaults() {
  state_ = DeviceState::Defaults();
  state_.renderStates[uint32_t(RenderState::ZEnable)] = autoDepth_ ? ZBuffer::True : ZBuffer::False;
  state_.viewport = {0, 0, backBuffer_->Width(), backBuffer_->Height(), 0.0f, 1.0f};
  for (auto& t : textures_)
    t.Reset();
  stream_.Reset();
  streamOffset_ = streamStride_ = 0;
  indices_.Reset();
  program_.Reset();
  technique_.clear();
  renderTarget_ = backBuffer_;
  depthStencil_ = autoDepth_;
  ++serials_.transform, ++serials_.viewport, ++serials_.stage, ++serials_.light;
}

// ---- loss and reset ----

HResult Device::TestCooperativeLevel() const {
  switch (status_) {
    case Status::Lost:
      return kDeviceLost;
    case Status::NotReset:
      return kDeviceNotReset;
    default:
      return kOk;
  }
}

void Device::DropDefaultPool() {
  MakeCurrent();
  for (auto& t : textures_)
    t.Reset();
  stream_.Reset();
  indices_.Reset();
  renderTarget_.Reset();
  depthStencil_.Reset();
  const std::vector<Resource*> alive(resources_.begin(), resources_.end());
  for (Resource* r : alive)
    if (r->GetPool() == Pool::Default) r->DropStorage();
}

void Device::SimulateLoss() {
  lastClear_.reset();
  pendingBackBufferClear_.reset();
  if (status_ != Status::Operational) return;
  status_ = Status::Lost;
  inScene_ = false;
  for (const Hooks& h : std::vector<Hooks>(hooks_))
    if (h.onLost) h.onLost();
  DropDefaultPool();
}

void Device::EndSimulatedLoss() {
  if (status_ == Status::Lost) status_ = Status::NotReset;
}

HResult Device::Reset(const PresentParameters& params) {
  if (status_ == Status::Lost) return kDeviceLost;
  if (status_ == Status::Operational) {
    SimulateLoss();
    EndSimulatedLoss();
  }
  MakeCurrent();
  backBuffer_.Reset();
  autoDepth_.Reset();
  params_ = params;
  SDL_GL_SetSwapInterval(params.presentationInterval ? 1 : 0);
  const HResult hr = CreateBackBuffer();
  if (Failed(hr)) return hr;
  ResetStateToDefaults();
  cache_->Invalidate();
  status_ = Status::Operational;
  for (const Hooks& h : std::vector<Hooks>(hooks_))
    if (h.onReset) h.onReset();
  return kOk;
}

Device::HookId Device::AddLossHooks(std::function<void()> onLost, std::function<void()> onReset) {
  hooks_.push_back({nextHook_, std::move(onLost), std::move(onReset)});
  return nextHook_++;
}

void Device::RemoveLossHooks(HookId id) {
  std::erase_if(hooks_, [id](const Hooks& h) { return h.id == id; });
}

// ---- frames ----

HResult Device::BeginScene(CallSite site) {
  if (inScene_) return Refuse(kInvalidCall, site, "BeginScene", "a scene has begun already");
  inScene_ = true;
  return kOk;
}

HResult Device::EndScene(CallSite site) {
  if (!inScene_) return Refuse(kInvalidCall, site, "EndScene", "no scene has begun");
  inScene_ = false;
  return kOk;
}

HResult Device::Present(CallSite site) {
  lastClear_.reset();
  if (status_ != Status::Operational) return kDeviceLost;
  if (inScene_) return Refuse(kInvalidCall, site, "Present", "the scene has not ended");
  MakeCurrent();
  FlushBackBufferClear();
  if (!backBufferInWindow_) {
    const GLuint fbo = cache_->Framebuffer(0, 0, backBuffer_->GlRenderbuffer(),
                                           autoDepth_ ? autoDepth_->GlRenderbuffer() : 0);
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window_, &w, &h);
    gl_.BindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
    gl_.BindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    gl_.Disable(GL_SCISSOR_TEST);
    // The back buffer holds its top row first; the window's first row is its bottom.
    gl_.BlitFramebuffer(0, 0, GLint(backBuffer_->Width()), GLint(backBuffer_->Height()), 0, h, w, 0,
                        GL_COLOR_BUFFER_BIT, GL_LINEAR);
  }
  SDL_GL_SwapWindow(window_);
  cache_->Invalidate();
  ChooseBackBufferPlace();
  lastLog_ = std::move(log_);
  log_.clear();
  return kOk;
}

bool Device::BindTarget(bool needsDepth) {
  if (!renderTarget_) return false;
  const Surface* rt = renderTarget_.Get();
  const Texture* texture = rt->Container();
  if ((texture && (texture->IsLost() || !texture->GlName())) || (!texture && !rt->GlRenderbuffer()))
    return false;
  if (texture) texture->DefineUnwrittenLevels();
  GLuint depth = 0;
  if (depthStencil_ && depthStencil_->GlRenderbuffer()) depth = depthStencil_->GlRenderbuffer();
  targetInWindow_ = false;
  if (rt == backBuffer_.Get()) {
    // The window's framebuffer has no room for the depth surface.
    if (depth && needsDepth) {
      depthOnBackBuffer_ = true;
      if (backBufferInWindow_) MoveBackBufferOffscreen();
    }
    if (backBufferInWindow_) {
      targetInWindow_ = true;
      cache_->BindFramebuffer(0);
      return true;
    }
  }
  const GLuint fbo = texture ? cache_->Framebuffer(texture->GlName(), GLint(rt->Level()), 0, depth)
                             : cache_->Framebuffer(0, 0, rt->GlRenderbuffer(), depth);
  if (!fbo) return false;
  cache_->BindFramebuffer(fbo);
  return true;
}

bool Device::BindForRead(const Surface* surface) {
  MakeCurrent();
  if (surface == backBuffer_.Get()) FlushBackBufferClear();
  if (surface == backBuffer_.Get() && backBufferInWindow_) {
    cache_->BindFramebuffer(0);
    return true;
  }
  const Texture* texture = surface->Container();
  if (texture) texture->DefineUnwrittenLevels();
  const GLuint fbo = texture ? cache_->Framebuffer(texture->GlName(), GLint(surface->Level()), 0, 0)
                             : cache_->Framebuffer(0, 0, surface->GlRenderbuffer(), 0);
  if (!fbo) return false;
  cache_->BindFramebuffer(fbo);
  return true;
}

HResult Device::Clear(uint32_t rectCount, const Rect* rects, uint32_t flags, uint32_t color,
                      float z, uint32_t stencil, CallSite site) {
  if ((flags & (ClearFlags::ZBuffer | ClearFlags::Stencil)) && !depthStencil_)
    return Refuse(kInvalidCall, site, "Clear", "depth or stencil without a depth surface");
  if (rectCount && !rects)
    return Refuse(kInvalidCall, site, "Clear", "a rectangle count without rectangles");
  if (status_ != Status::Operational) return kOk;
  const ClearRecord record{flags, color, stencil, z, state_.viewport};
  const bool redundant = rectCount == 0 && lastClear_ == record;
  const Viewport& v = state_.viewport;
  const bool deferred = !redundant && rectCount == 0 && flags == ClearFlags::Target &&
                        renderTarget_.Get() == backBuffer_.Get() && v.x == 0 && v.y == 0 &&
                        v.width == backBuffer_->Width() && v.height == backBuffer_->Height();
  if (deferred) {
    pendingBackBufferClear_ = color;
    lastClear_ = record;
  } else if (!redundant) {
    lastClear_.reset();
    MakeCurrent();
    if (renderTarget_.Get() == backBuffer_.Get()) FlushBackBufferClear();
    if (!BindTarget(flags & (ClearFlags::ZBuffer | ClearFlags::Stencil))) return kOk;
    ClearTarget(*renderTarget_, state_.viewport, rectCount, rects, flags, color, z, stencil);
    if (rectCount == 0) lastClear_ = record;
  }
  if (logEnabled_) {
    FrameLogEntry e;
    e.kind = FrameLogEntry::Kind::Clear;
    e.clearFlags = flags;
    e.clearColor = color;
    e.redundant = redundant;
    e.deferred = deferred;
    Log(std::move(e));
  }
  return kOk;
}

void Device::FlushBackBufferClear() {
  if (!pendingBackBufferClear_) return;
  const uint32_t color = *pendingBackBufferClear_;
  pendingBackBufferClear_.reset();
  MakeCurrent();
  if (backBufferInWindow_) {
    cache_->BindFramebuffer(0);
  } else {
    const GLuint fbo = cache_->Framebuffer(0, 0, backBuffer_->GlRenderbuffer(), 0);
    if (!fbo) return;
    cache_->BindFramebuffer(fbo);
  }
  targetInWindow_ = backBufferInWindow_;
  const Viewport whole{0, 0, backBuffer_->Width(), backBuffer_->Height(), 0.0f, 1.0f};
  ClearTarget(*backBuffer_, whole, 0, nullptr, ClearFlags::Target, color, 1.0f, 0);
  if (logEnabled_ && logObserver_) {
    FrameLogEntry e;
    e.kind = FrameLogEntry::Kind::Clear;
    e.clearFlags = ClearFlags::Target;
    e.clearColor = color;
    e.target = backBuffer_->Id();
    e.targetWidth = backBuffer_->Width();
    e.targetHeight = backBuffer_->Height();
    e.state = state_;
    logObserver_(e);
  }
}

void Device::ClearTarget(const Surface& target, const Viewport& area, uint32_t rectCount,
                         const Rect* rects, uint32_t flags, uint32_t color, float z,
                         uint32_t stencil) {
  GLbitfield mask = 0;
  if (flags & ClearFlags::Target) {
    // A back buffer without alpha keeps alpha 1 wherever it is stored.
    const bool opaque =
        &target == backBuffer_.Get() && params_.backBufferFormat != Format::A8R8G8B8;
    gl_.ClearColor(((color >> 16) & 0xFF) / 255.0f, ((color >> 8) & 0xFF) / 255.0f,
                   (color & 0xFF) / 255.0f, opaque ? 1.0f : (color >> 24) / 255.0f);
    gl_.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);  // Clear ignores the colour write mask
    mask |= GL_COLOR_BUFFER_BIT;
  }
  if (flags & ClearFlags::ZBuffer) {
    gl_.ClearDepth(std::clamp(z, 0.0f, 1.0f));
    gl_.DepthMask(GL_TRUE);
    mask |= GL_DEPTH_BUFFER_BIT;
  }
  if (flags & ClearFlags::Stencil) {
    gl_.ClearStencil(GLint(stencil & 0xFF));
    gl_.StencilMask(0xFF);
    mask |= GL_STENCIL_BUFFER_BIT;
  }
  if (mask) {
    const Viewport& v = area;
    gl_.Enable(GL_SCISSOR_TEST);
    auto clearRect = [&](int32_t left, int32_t top, int32_t right, int32_t bottom) {
      left = std::max(left, int32_t(v.x));
      top = std::max(top, int32_t(v.y));
      right = std::min(right, int32_t(v.x + v.width));
      bottom = std::min(bottom, int32_t(v.y + v.height));
      if (left >= right || top >= bottom) return;
      // Rows are stored top first, so GL's y is the row index; the window's rows run upwards.
      gl_.Scissor(left, targetInWindow_ ? int32_t(backBuffer_->Height()) - bottom : top,
                  right - left, bottom - top);
      gl_.Clear(mask);
    };
    if (rectCount == 0) {
      clearRect(int32_t(v.x), int32_t(v.y), int32_t(v.x + v.width), int32_t(v.y + v.height));
    } else {
      for (uint32_t i = 0; i < rectCount; ++i)
        clearRect(rects[i].left, rects[i].top, rects[i].right, rects[i].bottom);
    }
    gl_.Disable(GL_SCISSOR_TEST);
    cache_->Invalidate();
  }
}

// ---- targets ----

HResult Device::SetRenderTarget(uint32_t index, Surface* surface, CallSite site) {
  lastClear_.reset();
  if (index != 0) return Refuse(kInvalidCall, site, "SetRenderTarget", "only target 0 exists");
  if (!surface) return Refuse(kInvalidCall, site, "SetRenderTarget", "no surface");
  SurfaceDesc desc;
  if (Failed(surface->GetDesc(&desc, site)) || !(desc.usage & Usage::RenderTarget))
    return Refuse(kInvalidCall, site, "SetRenderTarget", "the surface is no render target");
  renderTarget_ = ComPtr<Surface>::Copy(surface);
  state_.viewport = {0, 0, desc.width, desc.height, 0.0f, 1.0f};
  ++serials_.viewport;
  return kOk;
}

HResult Device::GetRenderTarget(uint32_t index, Surface** surface, CallSite site) const {
  if (!surface) return Refuse(kInvalidCall, site, "GetRenderTarget", "no place for the answer");
  *surface = nullptr;
  if (index != 0) return Refuse(kInvalidCall, site, "GetRenderTarget", "only target 0 exists");
  if (!renderTarget_) return kNotFound;
  *surface = ComPtr<Surface>(renderTarget_).Detach();
  return kOk;
}

HResult Device::SetDepthStencilSurface(Surface* surface, CallSite site) {
  lastClear_.reset();
  if (surface && surface->GetKind() != Surface::Kind::DepthStencil)
    return Refuse(kInvalidCall, site, "SetDepthStencilSurface", "the surface is no depth surface");
  depthStencil_ = ComPtr<Surface>::Copy(surface);
  return kOk;
}

HResult Device::GetDepthStencilSurface(Surface** surface, CallSite site) const {
  if (!surface)
    return Refuse(kInvalidCall, site, "GetDepthStencilSurface", "no place for the answer");
  *surface = nullptr;
  if (!depthStencil_) return kNotFound;
  *surface = ComPtr<Surface>(depthStencil_).Detach();
  return kOk;
}

HResult Device::GetBackBuffer(uint32_t swapChain, uint32_t index, uint32_t type, Surface** out,
                              CallSite site) const {
  if (!out) return Refuse(kInvalidCall, site, "GetBackBuffer", "no place for the answer");
  *out = nullptr;
  if (swapChain != 0 || index != 0 || type != BackBufferType::Mono)
    return Refuse(kInvalidCall, site, "GetBackBuffer", "only the one mono back buffer exists");
  if (!backBuffer_) return Refuse(kInvalidCall, site, "GetBackBuffer", "the device is lost");
  *out = ComPtr<Surface>(backBuffer_).Detach();
  return kOk;
}

// ---- objects ----

HResult Device::CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                              Format format, Pool pool, Texture** out, CallSite site) {
  if (!out) return Refuse(kInvalidCall, site, "CreateTexture", "no place for the answer");
  *out = nullptr;
  if (format == Format::R8G8B8) format = Format::X8R8G8B8;
  if (width == 0 || height == 0 || width > kMaxTextureSize || height > kMaxTextureSize) {
    return Refuse(kInvalidCall, site, "CreateTexture", [&] {
      return "a size of " + std::to_string(width) + " x " + std::to_string(height) +
             " is outside 1 to " + std::to_string(kMaxTextureSize);
    });
  }
  const TextureFormatInfo info = TextureFormatInfo::Of(format);
  if (!info.valid) {
    return Refuse(kInvalidCall, site, "CreateTexture",
                  [&] { return "format " + std::to_string(uint32_t(format)) + " is not known"; });
  }
  if ((usage & Usage::RenderTarget) && pool != Pool::Default)
    return Refuse(kInvalidCall, site, "CreateTexture", "a render target outside the Default pool");
  if ((usage & Usage::RenderTarget) && !info.renderTarget) {
    return Refuse(kInvalidCall, site, "CreateTexture", [&] {
      return "format " + std::to_string(uint32_t(format)) + " cannot be a render target";
    });
  }
  if ((usage & Usage::Dynamic) && pool == Pool::Managed)
    return Refuse(kInvalidCall, site, "CreateTexture", "a dynamic texture in the Managed pool");
  MakeCurrent();
  auto texture =
      ComPtr<Texture>::Attach(new Texture(this, width, height, levels, usage, format, pool));
  if (!texture->CreateStorage()) return kOutOfVideoMemory;
  *out = texture.Detach();
  return kOk;
}

HResult Device::CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, Pool pool,
                                   VertexBuffer** out, CallSite site) {
  if (!out) return Refuse(kInvalidCall, site, "CreateVertexBuffer", "no place for the answer");
  *out = nullptr;
  if (length == 0 || length > kMaxBufferBytes)
    return Refuse(kInvalidCall, site, "CreateVertexBuffer", [&] { return BadLength(length); });
  *out = new VertexBuffer(this, length, usage, fvf, pool);
  return kOk;
}

HResult Device::CreateIndexBuffer(uint32_t length, uint32_t usage, Format format, Pool pool,
                                  IndexBuffer** out, CallSite site) {
  if (!out) return Refuse(kInvalidCall, site, "CreateIndexBuffer", "no place for the answer");
  *out = nullptr;
  if (length == 0 || length > kMaxBufferBytes)
    return Refuse(kInvalidCall, site, "CreateIndexBuffer", [&] { return BadLength(length); });
  if (format != Format::Index16 && format != Format::Index32) {
    return Refuse(kInvalidCall, site, "CreateIndexBuffer", [&] {
      return "format " + std::to_string(uint32_t(format)) + " holds no indices";
    });
  }
  *out = new IndexBuffer(this, length, usage, format, pool);
  return kOk;
}

// ---- capabilities ----

HResult Device::GetDeviceCaps(Caps* caps, CallSite site) const {
  if (!caps) return Refuse(kInvalidCall, site, "GetDeviceCaps", "no place for the answer");
  *caps = {};
  for (uint32_t op : {TextureOp::Disable, TextureOp::SelectArg1, TextureOp::SelectArg2,
                      TextureOp::Modulate, TextureOp::Add, TextureOp::BumpEnvMap})
    caps->textureOpCaps |= TextureOpCap(op);
  caps->maxTextureWidth = caps->maxTextureHeight = kMaxTextureSize;
  caps->maxSimultaneousTextures = caps->maxTextureBlendStages = kMaxTextureStages;
  caps->maxActiveLights = kMaxLights;
  caps->numSimultaneousRTs = 1;
  caps->maxPrimitiveCount = 0xFFFFF;
  caps->maxVertexIndex = 0xFFFFFF;
  return kOk;
}

HResult Device::CheckDeviceFormat(uint32_t usage, ResourceType type, Format format) const {
  const TextureFormatInfo info = TextureFormatInfo::Of(format);
  switch (type) {
    case ResourceType::Surface:
    case ResourceType::Texture:
      if (!info.valid) return kNotAvailable;
      if ((usage & Usage::RenderTarget) && !info.renderTarget) return kNotAvailable;
      if (usage & Usage::DepthStencil) return kNotAvailable;
      return kOk;
    case ResourceType::IndexBuffer:
      return format == Format::Index16 || format == Format::Index32 ? kOk : kNotAvailable;
    default:
      return kNotAvailable;
  }
}

// ---- bookkeeping ----

void Device::BindForUpload(GLuint texture) {
  MakeCurrent();
  cache_->BindTexture(kScratchUnit, texture);
}

void Device::ResetGlStateCache() {
  MakeCurrent();
  cache_->Invalidate();
  gl_.BindVertexArray(cache_->VertexArray());
  for (GLuint location = 0; location < kAttribTexCoord0 + kMaxTexCoordSets; ++location)
    gl_.DisableVertexAttribArray(location);
  enabledAttribs_ = 0;
}

void Device::ForgetTexture(GLuint name) {
  if (cache_) cache_->ForgetTexture(name);
}

void Device::ForgetRenderbuffer(GLuint name) {
  if (cache_) cache_->ForgetRenderbuffer(name);
}

void Device::ForgetProgram(GLuint name) {
  if (cache_) cache_->ForgetProgram(name);
}

void Device::EnableFrameLog(bool enable) {
  logEnabled_ = enable;
  if (!enable) log_.clear(), lastLog_.clear();
}

void Device::Log(FrameLogEntry entry) {
  entry.technique = technique_;
  entry.shaderProgram = program_ != nullptr;
  if (program_) entry.effect = program_->Name();
  if (renderTarget_) {
    entry.target = renderTarget_->Id();
    entry.targetWidth = renderTarget_->Width();
    entry.targetHeight = renderTarget_->Height();
  }
  entry.depthStencil = depthStencil_ ? depthStencil_->Id() : 0;
  for (int i = 0; i < kMaxTextureStages; ++i)
    entry.textures[i] = textures_[i] ? textures_[i]->Id() : 0;
  entry.vertexBuffer = stream_ ? stream_->Id() : 0;
  entry.stride = streamStride_;
  entry.state = state_;
  log_.push_back(std::move(entry));
  const FrameLogEntry& e = log_.back();
  if (logObserver_ && !e.redundant && !e.deferred) logObserver_(e);
}

Device::StateBlock Device::CaptureStateBlock() const {
  StateBlock block;
  block.state = state_;
  block.textures = textures_;
  block.program = program_;
  return block;
}

void Device::ApplyStateBlock(const StateBlock& block) {
  state_ = block.state;
  textures_ = block.textures;
  program_ = block.program;
  ++serials_.transform, ++serials_.viewport, ++serials_.stage, ++serials_.light;
}

}  // namespace gfx
