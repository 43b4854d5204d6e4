#pragma once

#include <cstdint>

#include "core/chrono/chrono_wrap.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "core/param/smart_angle.h"
#include "particles/behaviour/physics/zkw_ptclsys_physics.h"
#include "platform/math/d3dx_types.h"

// The rotation members of a root point that its orientation transform reads.
struct RootRotation {
  const ZKW_SmartAngle* angle;
  const MediaParamT<int>* spinDirection;
  const UINTSclaleTo<float>* spinSpeed;
};

// Turns the root particle by its fixed angle plus the spin accumulated at the spin speed; a speed
// of 0 shows the fixed angle alone and forgets the spin.
class PtclTr_Orientation : public ZKW_PtclTransform {
 public:
  explicit PtclTr_Orientation(RootRotation rotation) : rotation(rotation) {}
  bool Apply(float dt, ParticleRecord* p) override;

  RootRotation rotation;
  float spinAngle = 0.0f;  // radians
};

// The physics of the node tree's root: exactly one particle, placed at a position (plus the
// run-time object's target offset), turned, spun, scaled and faded over time.
class ZKW_PtclSysPhys_RootPnt : public ZKW_PtclSysPhys_Points {
 public:
  explicit ZKW_PtclSysPhys_RootPnt(const D3DXVECTOR3& at = D3DXVECTOR3(0, 0, 0));
  ZKW_PtclSysPhys_RootPnt(const ZKW_PtclSysPhys_RootPnt&) = delete;

  // Version 3: position, angle format 2, spin direction and speed, angle, both wrapped
  // parameters with their controllers, then the points record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Angles of format 1 counted the other way: they read as 360 - angle. Version 2 has the two
  // percents without controllers; version 1 neither.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Places the root particle at position + target offset and updates it; it is never removed.
  ParticleList Update(ParticleList* parents, float step) override;
  // Kills the root particle (children that die with it follow) and makes a fresh one, so that
  // the physics always holds its one particle.
  void KillAll() override;

  ParticleRecord& Root() const { return *particles.front(); }

  MediaParamT<D3DXVECTOR3> position;
  ZKW_SmartAngle angle;
  MediaParamT<int> spinDirection{0};
  UINTSclaleTo<float> spinSpeed{0, 0.0069813174f, 0.0f};  // 0.4 degree a second per unit
  ChronoWrap<UINTSclaleTo<float>> size{100u, 0.01f, 0.0f};
  ChronoWrap<ZKW_SmartAlpha> translucency;
  float targetOffset[3] = {0, 0, 0};

 private:
  void MakeRootParticle();
};
