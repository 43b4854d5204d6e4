#pragma once

#include <array>
#include <memory>
#include <optional>

#include "core/scene/ds_abobj_constructor.h"
#include "platform/math/d3dx_math.h"
#include "platform/math/d3dx_types.h"
#include "player/render/camera_block.h"
#include "player/render/color_quad_mesh.h"
#include "player/render/quad_corners.h"

// The matrices and sizes with which everything draws: the orthographic projection of the
// current target, the view from picture units to target pixels, the world base that the
// renderer's camera replaces while it runs, and four black border quads that mask what lies
// outside the picture. One per thread, reached through RenderContextTlsSlot.
class RenderContext {
 public:
  explicit RenderContext(
      std::unique_ptr<CameraBlock> cameraBlock = std::make_unique<CameraBlock>());
  RenderContext(const RenderContext&) = delete;
  RenderContext& operator=(const RenderContext&) = delete;

  // Fits `frame` (the part of `picture` to show) into the view quad with `fitMode`, then sets
  // up the camera block for the view's size.
  void SetTargetView(const QuadCorners& view, const Size& picture, const Size& frame, int fitMode,
                     bool keepView);
  // The fit of `frame` into `viewRect`: mode 1 inside with bars, 2 filled and cropped, any
  // other stretched. Sets the projection of render target 0, the view and its inverse, and the
  // border quads. A frame or view without area leaves the view the identity and the bars empty.
  void FitProjection(const ScreenRect& viewRect, const ScreenRect& frame, int fitMode);
  // Sets the device's world matrix for an object matrix `m`: m itself in fit mode 3, otherwise
  // m x the world base (the camera world while the camera is on); then the camera offset while
  // the camera is on.
  void SetWorldTransform(const D3DXMATRIX& m);
  // Sets the device's view and projection to the context's.
  void ApplyViewProjection() const;
  // The same world, times view and projection (for effect parameters).
  D3DXMATRIX& GetWorldViewProjection(D3DXMATRIX& out, const D3DXMATRIX& m) const;
  // Sets view, projection and the world base, and draws the four border quads with their
  // vertex colour.
  void ApplyAndDrawBars();
  // The world matrix SetWorldTransform sets for `m`.
  D3DXMATRIX WorldFor(const D3DXMATRIX& m) const;
  // The camera offset translation of an object at `depthPercent` of the picture's depth:
  // (100 / depth - 1) x the camera offset; none at depth 0.
  D3DXMATRIX ParallaxAt(float depthPercent) const;
  // The picture point that an object at `depthPercent` draws at pixel (x, y) of the view: the
  // inverse of its world (the camera's while it runs), view chain. Empty when that chain cannot
  // be inverted.
  std::optional<D3DXVECTOR3> PictureAt(float x, float y, float depthPercent) const;

  CameraBlock& Camera() { return *cameraBlock; }
  const CameraBlock& Camera() const { return *cameraBlock; }

  D3DXMATRIX projection;
  D3DXMATRIX view;
  D3DXMATRIX inverseView;
  D3DXMATRIX worldBase;
  D3DXMATRIX cameraWorld;
  D3DXMATRIX cameraOffsetTranslation;
  D3DXVECTOR3 cameraOffset;
  // The part of the picture fitted into the view, in picture units: the whole picture, or the
  // part the camera shows. It is the space the world matrices work in: the camera pivots about
  // its centre, and objects take it as the size of the target they draw on. The render target's
  // size in pixels is only the projection's business.
  float frameW = 0.0f, frameH = 0.0f;
  float pictureW = 0.0f, pictureH = 0.0f;
  float viewW = 0.0f, viewH = 0.0f;
  bool cameraActive = false;
  std::array<ColorQuadMesh, 4> borderBars;  // top, left, bottom, right
  int fitMode = 1;
  std::unique_ptr<CameraBlock> cameraBlock;

 private:
  // `m` on the world base in force, then `parallax` while the camera runs.
  D3DXMATRIX WorldWith(const D3DXMATRIX& m, const D3DXMATRIX& parallax) const;
};

// While it lives, the context's world matrices take no depth parallax (the camera offset
// translation is the identity), then the one in force before comes back. Draws that copy a
// whole target use it: what they copy lies at the picture's depth, whichever object is drawn.
class WithoutParallax {
 public:
  explicit WithoutParallax(RenderContext* context)
      : context_(context),
        saved_(context != nullptr ? context->cameraOffsetTranslation : D3DXMATRIX()) {
    if (context_ != nullptr) D3DXMatrixIdentity(&context_->cameraOffsetTranslation);
  }
  ~WithoutParallax() {
    if (context_ != nullptr) context_->cameraOffsetTranslation = saved_;
  }
  WithoutParallax(const WithoutParallax&) = delete;
  WithoutParallax& operator=(const WithoutParallax&) = delete;

 private:
  RenderContext* context_;
  D3DXMATRIX saved_;
};

// Round to nearest, ties to even, saturated to the int range (NaN gives 0).
int RoundToInt(float value);

// Installs the render context's entries of the scene services (its target size: the frame).
void InstallRenderContextServices();
