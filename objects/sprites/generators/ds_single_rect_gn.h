#pragma once

#include <cstdint>

#include "core/param/media_quad.h"
#include "objects/sprites/generators/ds_static_generator.h"

// The base of the generators that show one picture on one fixed quadrilateral: the four corners
// of the rectangle are the corners of the quad, written once into the single layer when the
// run-time object is made.
//
// Record "DS_SingleRectGN" version 2: the rectangle (twelve Float), then the
// "DS_StaticGenerator" record. Version 1 holds two further Float after the rectangle, dropped.
class DS_SingleRectGN : public DS_StaticGenerator {
 public:
  static constexpr uint32_t kVersion = 2;

  DS_SingleRectGN() = default;
  DS_SingleRectGN(const DS_SingleRectGN& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The static attach, one layer of one quad, then BuildQuad.
  void AttachRuntimeObject(DS_ParticlesObj& obj) override;
  // The picture upright on the rectangle (corner 1 at texture (0, 1), 0 at (0, 0), 3 at (1, 1),
  // 2 at (1, 0)), mirrored left to right by the third mode and top to bottom by the second, in
  // colour 1 and its opacity.
  void BuildQuad(DS_ParticlesObj& obj);

  MediaQuad rectangle;
};
