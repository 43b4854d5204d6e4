#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/media_rectangle.h"
#include "objects/sprites/ds_base_sprite_prop.h"
#include "platform/math/d3dx_types.h"

// A still object: its picture placed at a fixed point (the placement centre) and turned by a
// fixed angle. The bounding box of its quad, kept in the placement rectangle and rewritten at
// every spawn, is its view quad and what its hit test answers from. With a count above 1 the
// sprites lie on top of one another. The discharge and the flower are still objects of their
// own.
//
// Record "DS_StatObjConstructor" version 2: the placement rectangle (six Int32: x min, x max,
// y min, y max, placement centre x and y), rotation angle (UInt32, degrees), then the
// "DS_BaseSpriteProp" record. Version 1 held the vertical and horizontal flips (Int32 each)
// before the base record.
class DS_StatObjConstructor : public DS_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 2;

  DS_StatObjConstructor();
  DS_StatObjConstructor(const DS_StatObjConstructor& other);

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // An object never placed (its keep-GUID byte clear) is placed at the scene's centre first and
  // marked placed; then the sprite array on a clone.
  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override;
  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override;
  // The bounds' corners in strip order: (x min, y max), (x min, y min), (x max, y max),
  // (x max, y min).
  void ViewQuad(QuadCorners& out) override;
  // Whether the target point falls in the bounds (mapped to scene units by the current render
  // context): the box, not the turned quad.
  bool HitTest(float x, float y) override;
  bool SplitExportBlock(int& frames) override;
  // At the placement centre, sized and coloured, turned by the rotation angle; the bounds
  // follow.
  void SpawnParticle(SpriteRecord& sprite) override;

  // The bounding box of the sprite's turned quad, truncated (saturating) and stored without
  // notification.
  void UpdateBounds(const SpriteRecord& sprite);

  int PlacementX() const { return placementRect.extra1.Value(); }
  int PlacementY() const { return placementRect.extra2.Value(); }

  // Bounds of the quad, then the placement centre in its two extra values.
  MediaRectangle placementRect;
  // Degrees, clockwise on the screen.
  MediaParamT<unsigned> rotationAngle{0};
  // The turn of the last spawn.
  D3DXMATRIX rotationMatrix;
};
