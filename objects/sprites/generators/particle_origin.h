#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "platform/math/d3dx_types.h"

// A light-weight moving record of an origin generator (a smoke puff): it moves, grows, fades
// and spins by its behaviours, each a function called with the step and its own parameters.
// Behaviours and parameters are held in place (no behaviour takes more than two parameters), so
// that the many origins of a high rate cost no allocations.
struct ParticleOrigin {
  using Parameters = std::array<float, 2>;
  using Behaviour = void (*)(ParticleOrigin& origin, float dt, const Parameters& p);
  struct Step {
    Behaviour function = nullptr;
    Parameters parameters{};
  };
  static constexpr size_t kMaxBehaviours = 5;

  float life = 0.0f;  // seconds left; deleted when it drops below 0
  D3DXVECTOR3 position;
  D3DXVECTOR3 velocity;
  D3DXVECTOR3 acceleration;
  D3DXVECTOR3 axis1;
  D3DXVECTOR3 axis2;
  float size = 100.0f;  // factor on the generator's origin size
  float opacity = 1.0f;
  std::array<Step, kMaxBehaviours> behaviours{};
  uint8_t behaviourCount = 0;

  // Replaces the behaviours by `steps` (those past kMaxBehaviours are left out).
  void SetBehaviours(std::initializer_list<Step> steps);
  // Every behaviour in order with `dt`.
  void RunBehaviours(float dt);
};

// position += v dt + a dt² / 2, then v += a dt.
void OriginMove(ParticleOrigin& o, float dt, const ParticleOrigin::Parameters& p);
// size += p0 dt.
void OriginGrow(ParticleOrigin& o, float dt, const ParticleOrigin::Parameters& p);
// While life > p1: opacity += p0 dt.
void OriginFadeIn(ParticleOrigin& o, float dt, const ParticleOrigin::Parameters& p);
// While p1 > life: opacity -= p0 dt.
void OriginFadeOut(ParticleOrigin& o, float dt, const ParticleOrigin::Parameters& p);
// Both axes turned about z by dt x p0 degrees.
void OriginSpin(ParticleOrigin& o, float dt, const ParticleOrigin::Parameters& p);
