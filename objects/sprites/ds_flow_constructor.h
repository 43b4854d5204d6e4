#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "core/param/callback_ctrl_set.h"
#include "core/param/media_param_t.h"
#include "objects/sprites/ds_base_sprite_prop.h"
#include "objects/sprites/ds_bound_control.h"
#include "objects/sprites/media_float.h"
#include "platform/math/d3dx_types.h"

// Flowing sprites: they stream across the view rectangle in one direction at a common speed,
// each wobbling sideways, bigger sprites faster; at each edge a bound control wraps, bounces or
// holds them. The swarm thins out while the timeline fades (time mode 0) or fades with it (time
// mode 1).
//
// Record "DS_FlowConstructor" version 4: direction angle, wobble amplitude, wobble frequency
// (UInt32 each, stored values), speed (Float), orientation mode (Int32; version 2 held a flag,
// version 1 nothing), the "DS_BoundControl" records of the top, bottom, left and right controls
// (from version 4), then the "DS_BaseSpriteProp" record.
class DS_FlowConstructor : public DS_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 4;

  // Timeline flag bit 0 set, tag 1; a control per side with its tests; the vectors of angle 0
  // and speed 0.
  DS_FlowConstructor();
  // The settings and the controls' settings; the controls get tests against the copy, and the
  // vectors are computed from the copied angle and speed.
  DS_FlowConstructor(const DS_FlowConstructor& other);
  ~DS_FlowConstructor() override;

  bool Save(DS_IOF_Archive& archive) const override;
  // Every value straight in (the vectors and scaled values follow only in copies).
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override;
  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override;
  // A new frame starts an export block after a frame in which a sprite waited at an edge.
  bool SplitExportBlock(int& frames) override;
  // A wobble value in [-1, 1], a random point of the view, signs (1, 1), InitSprite.
  void SpawnParticle(SpriteRecord& sprite) override;
  // Moves the sprite (unless it waits), asks the controls top, bottom, left, right until one
  // acts, turns it by the orientation mode, draws a new wobble now and then, colours it.
  void UpdateParticle(SpriteRecord& sprite) override;
  int ParticleCount() override;
  uint32_t ApplyOpacity(uint32_t colour) override;

  // The direction matrix (a turn about z by 360 - angle degrees), the flow vector (the speed
  // along it) and the cross vector: angle 0 streams right, 90 up, 180 left, 270 down.
  void UpdateDirection(unsigned angle);
  // Half sizes and colour; orientation mode 1 turns the axes with the flow, mode 0 sets them
  // upright, modes 2 and 3 leave them.
  void InitSprite(SpriteRecord& sprite) const;

  MediaParamT<unsigned> directionAngle{0};
  // Pixels per second across the flow at wobble value 1: the stored value x 3.
  MediaFloat<unsigned> wobbleAmplitude{0, 3.0f};
  // New wobble draws per second of motion time: the stored value x 0.25.
  MediaFloat<unsigned> wobbleFrequency{0, 0.25f};
  // Pixels per second of motion time at size factor 1.
  float speed = 0.0f;
  // 0 upright, 1 turned with the flow, 2 mirrored by horizontal motion, 3 by vertical motion.
  MediaParamT<int> orientationMode{0};
  // Top, bottom, left, right.
  std::array<DS_BoundControl, 4> controls;
  D3DXVECTOR4 flowVector{0, 0, 0, 0};
  D3DXVECTOR4 crossVector{0, 0, 0, 0};
  D3DXMATRIX directionMatrix;

 private:
  void InstallControls();

  CallbackCtrlSet<DS_FlowConstructor> directionCallback_{this};
};
