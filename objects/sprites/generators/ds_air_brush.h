#pragma once

#include <cstdint>
#include <list>

#include "core/param/media_param_t.h"
#include "objects/sprites/generators/ds_tex_particle_generator.h"

// A generator whose particles are painted dabs, placed one by one with AddParticle and saved
// with the object; each dab is drawn as one quad of the picture, which the kinds animate in
// place. An air brush emits nothing; its dabs are apart from the sources and particles.
//
// Record "DS_AirBrush" version 3: size (UInt32), dab count (UInt32), per dab x, y, z (Float), a
// channel-pair count (UInt32, 5 when written) and that many pairs of channels i and 5 + i
// (Float); then the "DS_TexParticleGenerator" record. Version 2 dabs hold channel i alone
// (channel 9 becomes 0); version 1 has a Dword count and positions only. Pairs past the fifth
// are read and dropped, and dabs past kMaxParticlesPerList likewise.
class DS_AirBrush : public DS_TexParticleGenerator {
 public:
  static constexpr uint32_t kVersion = 3;

  DS_AirBrush();
  DS_AirBrush(const DS_AirBrush& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
  // No air-brush kind answers the question.
  bool KindQuery() const override { return false; }

  // Layer 0 through the mask with the current frame of the first picture.
  void Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) override;
  // Dabs do not move by themselves: nothing.
  void Update(float t, DS_ParticlesObj& obj) override;
  // The base attach, one layer.
  void AttachRuntimeObject(DS_ParticlesObj& obj) override;
  // Appends a dab at `position` (default channels, no processes), then FillLayer. The four
  // values are the kinds'.
  virtual void AddParticle(const D3DXVECTOR3& position, float a, float b, float c, float d);

  // When attached: one quad per dab in layer 0, size x aspect x size times the dab's scale,
  // turned by its angle, colour 1 at the dab's opacity times the timeline value. A layer that
  // cannot be locked keeps what it held.
  void FillLayer();

  MediaParamT<unsigned> size{0};
  float aspect = 1.0f;
  std::list<GeneratorParticle> dabs;
};

// Steps every process of every dab by `dt`, ignoring what they answer.
void RunDabProcesses(std::list<GeneratorParticle>& dabs, float dt);
