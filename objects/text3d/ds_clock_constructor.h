#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/param/callback_ctrl_set.h"
#include "core/param/media_rectangle.h"
#include "objects/text3d/ds_3d_obj_ctrl.h"

// An analogue clock at a point of the scene, showing the computer's local time: a dial placed
// by an AC_Static and two hands turned by AC_ClockArrows. The inherited picture is the dial's,
// the inherited mesh the plate that both the dial and the hands are made of; the size is the
// dial's diameter in pixels.
//
// Record "DS_ClockConstructor" version 1: the clock rectangle (six Int32: the bounds, then the
// centre), the hands picture (registered, name and Int64 id), then the "DS_3D_Obj_Ctrl" record.
class DS_ClockConstructor : public DS_3D_Obj_Ctrl {
 public:
  static constexpr uint32_t kVersion = 1;

  // The library's plate 70, dial picture 71 and hands picture 72; size 400; the centre in the
  // middle of the current scene. A dial picture changed after parts were loaded reloads part 0.
  DS_ClockConstructor();
  // The model part, the rectangle, the hands picture and a control of its own; no parts.
  DS_ClockConstructor(const DS_ClockConstructor& other);
  ~DS_ClockConstructor() override;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Part 0 the dial, part 1 the hands, both two-sided; remembers the parts.
  void LoadParts(std::vector<MeshPart>& parts) override;
  // Part 0 at every root, part 1 at every hand.
  void AttachControllers(std::list<TransformNode*>& roots, std::vector<MeshPart>& parts) override;
  // A root that lays the plate in the screen's plane at a hundredth of the size, placed by an
  // AC_Static; the hour hand and then the minute hand, each the plate narrowed and stretched
  // out from the centre.
  FrameTree BuildFrameTree() override;
  bool UsesClock() const override { return true; }
  std::unique_ptr<DS_3D_Obj_Ctrl> Clone() const override;

  // The clock rectangle's corners: (x min, y max), (x min, y min), (x max, y max), (x max, y min).
  void ViewQuad(QuadCorners& out) override;
  // Whether the point, mapped to picture units by the render context, lies in the clock
  // rectangle.
  bool HitTest(float x, float y) override;

  // The dial picture changed: part 0 reloads when parts are held.
  void OnDialChanged();

  // From the first dial's placement on: the bounds follow every notified change of the size or
  // of the clock rectangle (PlaceDialBounds). Once only.
  void WatchDial();
  // The clock rectangle's bounds become the square of side size about the centre (size / 2 a
  // whole halving), each stored without telling anyone.
  void PlaceDialBounds();

  // x min, x max, y min, y max; extra1 and extra2 are the centre.
  MediaRectangle clockRect;
  DS_ImageFileLink handsPicture{u"glimres.dll", 72};
  // The parts of the run-time object this clone was made for; null before.
  std::vector<MeshPart>* parts = nullptr;

 private:
  CallbackCtrlSet<DS_ClockConstructor> controls_{this};
  bool dialWatched_ = false;
};
