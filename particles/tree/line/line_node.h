#pragma once

#include <cstdint>
#include <vector>

#include "core/param/scaled_param.h"
#include "particles/tree/line/line_profile.h"
#include "particles/tree/line/line_segments.h"
#include "particles/tree/picture_node.h"

// A picture node that draws every particle as a straight textured ribbon along the particle's x
// axis, made of the segments of its list. Once per fill the segments become one profile, which
// each particle cuts to the window its mode and x scale choose; the ribbons of all particles go
// into the node's batch as one mesh. Particles, texture, colour and drawing are the picture's.
// With no segments the node and its children are inert.
class ZKW_PtclSysNode_Line : public ZKW_PtclSysNodePic_TexDynamic {
 public:
  // The tex-dynamic defaults, anchor 0, mode 0, texture scale 100 and one default segment.
  ZKW_PtclSysNode_Line();

  // "ZKW_PtclSysNode_Line" version 2: anchor, the segments, mode, texture scale, then the
  // tex-dynamic record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 has no mode and texture scale (they keep their defaults).
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The picture's update with one batch of its own (see UpdateMeshNode); 0 without segments.
  int UpdateParticles(float step, ParticleList* parents) override;
  // The profile, the children, then every particle's ribbon in the node's batch.
  void FillVertices(QuadBatches& batches, size_t* index) override;
  void Render(QuadBatches& batches, size_t* index, DS_2D_Light& renderer,
              int* readerCount) override;
  int NeedsPictureBelow() const override;

  // The profile of the segments in list order, drawing the random factors of their spreads.
  void BuildProfile();
  // The v coordinate per unit of distance: the texture scale over the width of the texture's
  // first frame, 0 without a frame.
  float UvScale() const;
  // Where a particle's ribbon goes: the anchor's shift along x, the particle's scale (x only in
  // mode 0), then its world matrix.
  D3DXMATRIX RibbonMatrix(const ParticleRecord& particle) const;

  UINTSclaleTo<float> anchor{0, -0.01f, 0.0f};  // percent of the length, as a shift along -x
  MediaParamT<int> mode{0};                     // a LineClipMode
  UINTSclaleTo<float> textureScale{100, 0.01f, 1.0f};
  LineProfile profile;
  LineSegments segments;

 private:
  bool HasSegments() const { return segments.GetCount() > 0; }
  void FillRibbons(ParticleQuadBatch& batch);

  std::vector<ProfilePoint> clipped_;
};
