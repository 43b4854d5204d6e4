#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include "core/link/ds_file_link.h"
#include "core/param/media_param_t.h"
#include "core/param/smart_vector.h"
#include "particles/behaviour/physics/curve_physics.h"
#include "particles/tree/preset/curve_profile.h"
#include "particles/tree/preset/pstree_leaf.h"
#include "renderers/blur/blur_effect.h"

// A drawing node whose particles are curves: a curve physics makes one curve particle with a row
// of points per parent particle, and the node draws each curve as a textured ribbon whose width
// and opacity follow envelopes along its start, middle and end sections, optionally lit from
// inside its edges by an inner glow. It draws with the leaf's picture, colours, blends and glow;
// its source is not used for its curves.
class ZKW_PSTree_Curve : public ZKW_PSTree_Leaf {
 public:
  explicit ZKW_PSTree_Curve(DS_SafePtr<ZKW_PtclSys_Geometry> geometry = {});

  // "ZKW_PSTree_Curve" version 4: the physics key and record, the lengths, the six envelopes,
  // width, normalise, the inner glow, then the leaf record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Versions 1 to 4: version 1 holds the physics alone (filed under key 1 when fractal, else 2)
  // and takes the width from it, 3 adds normalise, 4 the inner glow.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Every curve gets its transforms and a new row of points again; the parent is not asked.
  void Restart() override;
  // The physics' curves for the parents, each coloured and given an atlas cell.
  void SpawnForParents(const ParticleList& parents) override;
  // The same for one parent: a curve node right under the root draws a curve for the root's
  // particle too (the curves are the only particles the node draws).
  void SpawnForParent(ParticleHandle parent) override { SpawnForParents({std::move(parent)}); }
  // The physics moves its curves; always one batch.
  unsigned UpdateParticles(float step, const ParticleList& parents) override;
  // Four vertices a point and five triangles a segment of every curve's visible part.
  void FillVertices(QuadBatches& batches, size_t* index) override;
  // The leaf's drawing, then the inner glow when its size is above 0.
  void Render(QuadBatches& batches, size_t* index, DS_2D_Light& renderer,
              int* readerCount) override;
  // The leaf's device objects, then the inner glow's targets and effect.
  void CreateDeviceObjects() override;
  // The physics lets its curves go, then the children clear theirs.
  void ClearParticles() override;
  // The leaf's reload, then every curve draws a new atlas cell.
  void OnTextureChanged() override;

  // Files `chosen` under `key`, selects it and makes it the physics in use.
  void SelectPhysics(int key, std::unique_ptr<ZKW_PtclSys_Physics> chosen);
  // The physics in use when it makes curves; null otherwise.
  ZKW_PtclSysPhys_Curves* Curves() const {
    return dynamic_cast<ZKW_PtclSysPhys_Curves*>(physics.Get());
  }
  CurveSections Sections() const;

  MediaParamT<unsigned> middleLength{160};
  MediaParamT<unsigned> endLength{20};
  MediaParamT<unsigned> startLength{20};
  CurveProfile widthProfile;
  CurveProfile opacityProfile;
  MediaParamT<unsigned> width{40};
  MediaParamT<int> normalise{1};
  ZKW_InnerGlowEffect innerGlow;  // its size percent is the reduction; 0 is off
  MediaParamT<unsigned>& innerGlowSize = innerGlow.reduction;
  ZKW_T_CustomSelector<int, ZKW_PtclSys_Physics> physicsSelector{1};
  DS_HLSLEffectFile innerGlowEffectLink{u"glimres.dll", 202};
  DS_SafePtr<ZKW_PtclSys_Physics> physics;

 private:
  void InnerGlowPasses(ParticleQuadBatch& batch, gfx::Effect* effect, DS_2D_Light& renderer);
};
