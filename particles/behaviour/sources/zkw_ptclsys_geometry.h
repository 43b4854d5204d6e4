#pragma once

#include <vector>

#include "core/archive/ds_iof_archive.h"
#include "core/object/ds_iof_item.h"
#include "core/param/jitter_param.h"
#include "core/param/media_param_t.h"
#include "core/param/moded_scaled_params.h"
#include "core/param/oscillation_params.h"
#include "core/param/value_spread_prm.h"
#include "core/zkw_string.h"
#include "particles/behaviour/params/spin_prm.h"
#include "particles/behaviour/particle/particle_record.h"
#include "platform/math/d3dx_types.h"

class ZKW_PSTree_Node;

// The particle source of a preset-tree stem. For each particle of the level above it makes child
// particles, at once when the parent is made (`SpawnForParent`) or a few per frame (`Emit`),
// gives each the same standard transforms (size and translucency spread, four oscillations,
// spin), keeps them in `particles` and retires them once per frame. The base makes nothing; the
// kinds decide where and how many.
class ZKW_PtclSys_Geometry : public ZKW_IOF_Item {
 public:
  ZKW_PtclSys_Geometry();
  ~ZKW_PtclSys_Geometry() override;

  // "ZKW_PtclSys_Geometry" version 1: name, position, the size and translucency oscillations,
  // size, translucency, the two envelopes, the along and across oscillations, spin. Kinds write
  // their own part first and end with this one.
  bool Save(DS_IOF_Archive& archive) const override;
  // The base record's fields (the registry has read its name and version). A node whose source
  // record is missing gets a base geometry, so its saved record must read back.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  virtual void InitParticle(ParticleRecord& particle);
  virtual ParticleList SpawnForParent(ParticleHandle /*parent*/) { return {}; }
  virtual ParticleList Emit(float /*dt*/, ParticleHandle* /*parent*/) { return {}; }
  // The stem hands itself over after reading its source; no kind uses it.
  virtual void AttachToOwner(ZKW_PSTree_Node*) {}
  virtual void ClearParticles();

  // A particle linked to `*parent` (none when null or empty), started at `position`,
  // initialised and appended to `particles`.
  ParticleHandle NewParticle(const ParticleHandle* parent);
  // Updates every particle in order and drops the dead ones; the survivors keep their order.
  void UpdateParticles(float dt);
  // The frame grid of the texture atlas (values below 1 count as 1).
  void SetAtlasGrid(int columns, int rows);
  // Draws the particle a random cell of the atlas grid: width, height, left, top (the column
  // is drawn first).
  void DrawAtlasCell(ParticleRecord& particle) const;

  zkw_string name;
  MediaParamT<D3DXVECTOR3> position{D3DXVECTOR3(0, 0, 0)};
  ValueSpreadPrm size{0, 0.01f};
  OscillationParams sizeOscillation;
  OscillationParams translucencyOscillation;
  ZKW_JitterParam translucency;
  ModedScaledParams sizeEnvelope;
  ModedScaledParams translucencyEnvelope;
  OscillationParams alongOscillation;
  OscillationParams acrossOscillation;
  SpinPrm spin;
  ParticleList particles;
  int atlasColumns = 1;
  int atlasRows = 1;
  int nodeDepth = 0;

 protected:
  // Appends the standard transforms with `phase` for the harmonic part of every oscillation
  // (null: a random phase each).
  void InitParticleWithPhase(ParticleRecord& particle, const float* phase);
};

// Items 2 to 12 of the base record (the caller has read its name and version).
void ReadGeometryBase(DS_IOF_Archive& archive, ZKW_PtclSys_Geometry& geometry);
// The base record's name and version (not compared), then its fields.
void ReadGeometryBasePart(DS_IOF_Archive& archive, ZKW_PtclSys_Geometry& geometry);
