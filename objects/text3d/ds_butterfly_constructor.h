#pragma once

#include <cstdint>
#include <memory>

#include "core/param/scaled_param.h"
#include "objects/text3d/ds_3d_obj_ctrl.h"

// Butterflies flying through the view rectangle: a body and two flapping wings, steered by an
// AC_Butterfly with an AC_ButterflyWing on each wing. The inherited picture and mesh are the
// wing's; the body has a picture and a mesh of its own. The size is in per cent (100: the
// model's own size).
//
// Record "DS_ButterflyConstructor" version 2: the body picture (registered, name and Int64 id),
// the body mesh, two spare values (UInt32), the wing scale (Float, from version 2), then the
// "DS_3D_Obj_Ctrl" record.
class DS_ButterflyConstructor : public DS_3D_Obj_Ctrl {
 public:
  static constexpr uint32_t kVersion = 2;

  // The library's body picture 6, body mesh 68 and wing mesh 69; size 100; view flag set.
  DS_ButterflyConstructor();
  DS_ButterflyConstructor(const DS_ButterflyConstructor& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  // The spare values are set with notification when they differ; version 1 keeps the wing
  // scale 1.0.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Part 0 the body, part 1 the wing (two-sided).
  void LoadParts(std::vector<MeshPart>& parts) override;
  // Part 0 at every root, part 1 at every wing.
  void AttachControllers(std::list<TransformNode*>& roots, std::vector<MeshPart>& parts) override;
  // A root at half size turned a quarter about y, steered by an AC_Butterfly, with two wing
  // nodes scaled by the wing scale, moved by its wings' controllers.
  FrameTree BuildFrameTree() override;
  std::unique_ptr<DS_3D_Obj_Ctrl> Clone() const override;

  DS_ImageFileLink bodyPicture{u"glimres.dll", 6};
  DS_MeshFile bodyMesh{u"glimres.dll", 68};
  // Stored, read and copied; nothing reads them.
  UINTSclaleTo<float> spare1{50, 1.0f, 0.0f};
  UINTSclaleTo<float> spare2{50, 1.0f, 0.0f};
  float wingScale = 1.0f;
};
