#pragma once

#include <cstdint>
#include <vector>

#include "core/ds_safe_ptr.h"
#include "core/param/media_param_t.h"
#include "geometry/offset/zkw_curve_offset_maker.h"
#include "particles/behaviour/physics/fractal_curve.h"
#include "particles/behaviour/physics/random_curve.h"
#include "particles/tree/picture_node.h"

class ZKW_VGeom2D;

// One point of a drawn stripe: world position, colour, alpha and full width.
struct StripePoint {
  D3DXVECTOR3 position;
  float r, g, b;
  float alpha;
  float width;
};
static_assert(sizeof(StripePoint) == 32);

// One drawn stripe: its points and the offsetter built over them.
struct StripeEntry {
  DS_SafePtr<ZKW_CurveOffsetMaker> offsetter;
  std::vector<StripePoint> points;
};

// How the points of one stripe are placed in the world this frame.
struct StripeFrame {
  D3DXMATRIX matrix;
  const ZKW_VGeom2D* geometry = nullptr;  // the parent node's shape
  int geometryMode = 0;  // 0: through the matrix; 1, 2: along the shape's first or second parameter
  float cell[2] = {0, 0};  // (u, v) of the parent node's particle on its shape
};

// A picture node that hangs a curve of its curve physics on every one of its particles and draws
// each curve as a flat strip of varying width and alpha. Every frame each curve's stripe is cut
// to a visible window, mapped into the world (optionally along the parent node's shape), given
// widths and alphas from the curve physics' envelopes and offset into a band that the node's
// batch holds as a mesh. The node draws its children's batches, then its own, and no radial glow.
class ZKW_PtclSysNode_StripeLine : public ZKW_PtclSysNodePic_TexDynamic {
 public:
  // "ZKW_PtclSysNode_StripeLine" version 3: Int32 stripe mode, Int32 follow geometry, then the
  // tex-dynamic record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 2 adds the stripe mode, version 3 the follow flag.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The curves move, the stripes are rebuilt, then the node's particles move and spawn; one
  // batch of its own plus the children's.
  int UpdateParticles(float step, ParticleList* parents) override;
  // The children's batches, then the node's: every stripe's band as one mesh.
  void FillVertices(QuadBatches& batches, size_t* index) override;
  void Render(QuadBatches& batches, size_t* index, DS_2D_Light& renderer,
              int* readerCount) override;
  // The picture's, then a curve and its stripe for the new particle.
  void InitNewParticle(ParticleHandle& particle) override;

  virtual ZKW_PtclSysPhys_Curves* GetCurves() const = 0;

  // Empties the stripes and makes one entry per curve of the curve physics.
  void RebuildStripes();
  // Where stripe i is placed: along the parent node's shape when the node follows a parametric
  // one, else through its curve particle's world matrix scaled by the length factor (and along
  // x by the node particle's x scale in stripe mode 0).
  StripeFrame PrepareStripeFrame(size_t i) const;
  // Fills `entry` from the stripe's points that lie in the visible window, then builds its
  // offsetter out to the largest width.
  void BuildStripeEntry(StripeEntry& entry, const ParticleList& points, const StripeFrame& frame,
                        const D3DXVECTOR4& colour, const D3DXVECTOR3& scale) const;
  // Appends the stripe point at q (in the curve's unit space), at u along the window.
  void AppendStripePoint(StripeEntry& entry, const D3DXVECTOR3& q, const StripeFrame& frame,
                         const D3DXVECTOR4& colour, float u) const;
  D3DXVECTOR3 MapStripePoint(const StripeFrame& frame, const D3DXVECTOR3& q) const;

  // 0: the whole curve, stretched along x by the node particle's x scale; 1: that scale moves a
  // window along the curve.
  MediaParamT<int> stripeMode{0};
  // Not 0: the window is the length factor / 100 long, and on a parent with a parametric shape
  // the stripes follow it (1 along its first parameter, 2 along its second).
  MediaParamT<int> followGeometry{0};
  std::vector<StripeEntry> stripes;

 protected:
  ZKW_PtclSysNode_StripeLine() = default;
  // The stripe-line part's header, then its body.
  void ReadStripeLinePart(DS_IOF_Archive& archive) {
    ZKW_PtclSysNode_StripeLine::ReadBody(archive, ReadBaseHeader(archive));
  }
  // Every stripe's band through its offsetter's mesh builder, as one mesh of the batch. Points
  // take the node's colour and opacity times their own colour and alpha, saturated to bytes.
  void FillOwnMesh(ParticleQuadBatch& batch) const;
  // A curve record's header, then its body into `curves` (the class is not checked).
  template <class Curves>
  static void ReadCurvesInto(DS_IOF_Archive& archive, Curves& curves) {
    curves.ReadBody(archive, ReadBaseHeader(archive));
  }
};

// Stripe lines on animated fractal curves (lightning).
class ZKW_PtclSysNode_FractalLine : public ZKW_PtclSysNode_StripeLine {
 public:
  ZKW_PtclSysNode_FractalLine();
  // Version 1: the fractal curve's record, then the stripe-line record.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  ZKW_PtclSysPhys_Curves* GetCurves() const override { return curves.Get(); }

  DS_SafePtr<ZKW_PtclSysPhys_FractalCurv> curves;
};

// Stripe lines on random walks that are re-aimed at a rate.
class ZKW_PtclSysNode_RandomLine : public ZKW_PtclSysNode_StripeLine {
 public:
  ZKW_PtclSysNode_RandomLine();
  // Version 1: the random curve's record, then the stripe-line record.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  ZKW_PtclSysPhys_Curves* GetCurves() const override { return curves.Get(); }

  DS_SafePtr<ZKW_PtclSysPhys_RandomCurv> curves;
};
