#pragma once

#include <cstdint>

#include "core/ds_safe_ptr.h"
#include "core/param/callback_ctrl.h"
#include "core/param/color_params.h"
#include "core/param/media_param_t.h"
#include "particles/behaviour/physics/trace_line.h"
#include "particles/tree/picture_node.h"

// A picture node that draws, instead of a quad per particle, a trail behind every particle: its
// trace-line physics keeps a stripe of points per particle that shrink and fade with age, and
// the node turns each stripe into a ribbon in its one batch (world positions, identity
// transform), either through a straight-skeleton offsetter (draw mode 1, the mode of every node
// read from a file) or as a bevelled ribbon. It is also the render option "Trace", whose switch
// turns the trails on and off: switched off, the node counts, fills and draws no batch, neither
// its own nor its children's. Switched on, the three walks take the children's batches, then its
// own (no radial glow), so they always agree.
class ZKW_PtclSysNode_Trace : public ZKW_PtclSysNode_Picture, public ZKW_PtclSys_Option {
 public:
  // Disabled, white trails, picture 228 of the resource library.
  ZKW_PtclSysNode_Trace();

  // "ZKW_PtclSysNode_Trace" version 2: the trace line's record, Dword colour, the option part
  // (version, enabled, name), then the picture record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Any version. A physics record that is not a trace line leaves a default trace line; the
  // colour and the switch are stored without notification; the draw mode keeps its default.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The picture's reset, then every trail let go.
  void Reset() override;
  // The picture's update (texture, particles, children); then, switched on, the trails' update
  // and one batch plus the children's; switched off, none.
  int UpdateParticles(float step, ParticleList* parents) override;
  void FillVertices(QuadBatches& batches, size_t* index) override;
  void Render(QuadBatches& batches, size_t* index, DS_2D_Light& renderer,
              int* readerCount) override;
  // Switched off 0 (it draws nothing), else the picture's answer.
  int NeedsPictureBelow() const override;
  // The inherited age only; switched on, a trail for the particle.
  void InitNewParticle(ParticleHandle& particle) override;

  // Reloads and marks the texture's frames.
  void OnTextureChanged();
  // Switched on under an emitter: a trail for each of the emitter's particles. Otherwise the
  // node is reset.
  void OnEnabledChanged();

  DS_SafePtr<ZKW_PtclSysPhys_TraceLine> trace;
  SmartCOLORREF colour{0xFFFFFF};  // of every trail; hides the picture's colour
  MediaParamT<int> drawMode{1};    // 1: offset strips, any other: bevelled ribbons; not stored

 private:
  void FillOffsetStrips(ParticleQuadBatch& batch);
  void FillBevelledTrails(ParticleQuadBatch& batch);

  SmartCalbackCtrl<ZKW_PtclSysNode_Trace> textureWatch_{&ZKW_PtclSysNode_Trace::OnTextureChanged,
                                                        this, &texture};
  SmartCalbackCtrl<ZKW_PtclSysNode_Trace> enabledWatch_{&ZKW_PtclSysNode_Trace::OnEnabledChanged,
                                                        this, &enabled};
};
