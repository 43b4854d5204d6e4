#pragma once

#include <memory>
#include <vector>

#include "core/guid.h"
#include "core/scene/ds_abobj_constructor.h"
#include "core/scene/zkw_render_obj.h"

class DS_IOF_Archive;
struct SpriteExportState;

// The run-time object of a description: owns the copy of the description it was made from (its
// data), gives it a GUID and enters itself in the run-time object map under it, so that other
// objects can find it. Every kind's run-time object derives from it and overrides what it needs
// of the operations below and of ZKW_RenderObj.
class DS_ABObj : public ZKW_RenderObj {
 public:
  // Takes over the description (may be null). A description whose GUID is zero, or whose
  // keep-GUID byte is clear, gets a fresh GUID; the object then enters the run-time object map
  // under it, replacing any entry there. Without a description nothing is entered.
  explicit DS_ABObj(std::unique_ptr<DS_ABObj_Constructor> description);
  // Leaves the map: the entry under the GUID it entered with is erased when it still names this
  // object (a later object with the same GUID keeps its entry). Then the description is deleted.
  ~DS_ABObj() override;

  // Virtual operations every run-time kind inherits.

  // A hint that nothing in the player gives; brush and particle objects pass the first value on
  // to the object they drive. Nothing in the base.
  virtual void ObjectHint(int /*hint*/, int /*extra*/) {}
  // Follows the view's pixel rectangle (sprite arrays); nothing calls it in the player.
  virtual void SyncViewRect() {}
  // The description's kind code; groups answer 10, brushes 4, sounds 1.
  virtual int GetObjectKind() const;
  // Whether the client point hits the object; false in the base, sprite arrays, 3D arrays and
  // particle objects answer from their geometry.
  virtual bool HitTestPoint(const int point[2]) const {
    (void)point;
    return false;
  }
  // The description's AppendScreenRects; particle and sprite-array objects compute their own.
  virtual bool AppendScreenRects(std::vector<ScreenRect>& rects);
  // The description's AppendImageLinks.
  virtual void AppendImageLinks(std::vector<DS_ImageFileLink>& links);
  // A text export of sprite placements frame by frame (sprite arrays and FX objects); nothing
  // calls it in the player.
  virtual void ExportSpriteFrames(SpriteExportState& /*state*/, bool /*last*/) {}
  // Exports the object as a preset file, `name` + ".zmo_obj" in `folder`, when the archive opens
  // such a file (BeginFile answers 1): "ZMO_OBJ", Dword 1, the description's record, the current
  // document's record. Answers what BeginFile answered; the player's archives open no file, so
  // nothing is written there and the answer is 0.
  virtual int ExportPreset(DS_IOF_Archive& archive, const zkw_string& folder, zkw_string name);
  // A group takes the objects in [first, last) whose description has a group link, stopping at
  // the first without one, and answers true. False in the base.
  virtual bool CollectGroupMembers(RuntimeObjectList::const_iterator /*first*/,
                                   RuntimeObjectList::const_iterator /*last*/) {
    return false;
  }
  // True drops this object from the renderer's walk: a group appends its members to `walk`
  // instead. False in the base.
  virtual bool ExpandForRender(RuntimeObjectList* /*walk*/) { return false; }
  // A group moves its members between the list (after `index`) and itself. Nothing in the base.
  virtual void RemoveMembersAfter(int /*index*/, RuntimeObjectList& /*list*/) {}
  // A group's member count; 0 in the base.
  virtual int GetMemberCount() const { return 0; }
  // True for particle-system objects and for brushes whose effect asks for it; false here.
  virtual bool KindFlag() const { return false; }

  // The description's HoverTest and Click with the same point (0 and nothing without one).
  int HoverTest(int x, int y);
  void Click(int x, int y);

  DS_ABObj_Constructor* Description() const { return description_.get(); }

 private:
  std::unique_ptr<DS_ABObj_Constructor> description_;
  GUID enteredAs_;  // the GUID of the map entry this object made
  bool entered_ = false;
};
