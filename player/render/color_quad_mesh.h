#pragma once

#include <cstdint>

#include "core/scene/ds_abobj_constructor.h"
#include "platform/gfx/fvf.h"
#include "player/render/quad_corners.h"
#include "player/render/render_meshes.h"

// A coloured quad of four strip vertices (bottom-left, top-left, bottom-right, top-right) in one
// of two forms: screen space (pre-transformed pixels, FVF XYZRHW|DIFFUSE, 20-byte vertices) for
// overlays, or world space (picture units, FVF XYZ|DIFFUSE, 16-byte vertices) for masks.
// Colours are 0xAARRGGBB. Every setter locks the buffer; a quad without buffer, or whose
// buffer does not lock, stays as it was.
class ColorQuadMesh : public SimpleMesh {
 public:
  static constexpr uint32_t kScreenFvf = gfx::Fvf::XyzRhw | gfx::Fvf::Diffuse;
  static constexpr uint32_t kWorldFvf = gfx::Fvf::Xyz | gfx::Fvf::Diffuse;

  // Screen form: positions from the quad (z 0, rhw = the corner's z), all corners `colour`.
  void InitScreen(const QuadCorners& quad, uint32_t colour);
  // Writes the positions into the buffer while it is locked (between Lock and Unlock).
  void SetScreenPositions(const QuadCorners& quad);
  // The alpha byte of each corner's colour becomes value x 255, saturated to 0..255; red, green
  // and blue stay.
  void SetCornerAlphas(float bottomLeft, float bottomRight, float topLeft, float topRight);

  // World form: the corners of `rect` at z 0, all corners `colour`.
  void InitWorld(const ScreenRect& rect, uint32_t colour);
  // Writes the corners (x, y + h), (x, y), (x + w, y + h), (x + w, y) into the locked buffer.
  void SetRect(const ScreenRect& rect);
  // Every corner keeps its alpha and takes the colour rgb & 0xFFFFFF.
  void SetColor(uint32_t rgb);
  void SetWorldCornerAlphas(float bottomLeft, float bottomRight, float topLeft, float topRight);
  // The four positions in strip order; colours stay.
  struct Point {
    float x = 0.0f, y = 0.0f, z = 0.0f;
  };
  void SetCornersRaw(const Point& p0, const Point& p1, const Point& p2, const Point& p3);

  // The vertex stride of the buffer's form.
  uint32_t Stride() const { return stride_; }

 protected:
  // Creates the buffer of `form` for four vertices as a triangle strip of two primitives.
  void CreateQuad(uint32_t stride, uint32_t fvf);
  void SetAlphas(uint32_t colourOffset, const float alphas[4]);

  uint32_t stride_ = 0;
};

// The alpha byte for an opacity: value x 255 truncated and saturated to 0..255 (NaN gives 0).
uint8_t AlphaByte(float value);
