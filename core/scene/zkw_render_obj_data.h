#pragma once

#include <cstdint>

#include "core/guid.h"
#include "core/object/ds_iof_item.h"
#include "core/param/media_param_t.h"
#include "core/timing/smart_timing.h"

// The data every drawn object has: whether it restarts with its slide, its timing and its GUID.
// The base of every scene-object description (DS_ABObj_Constructor).
class ZKW_RenderObjData : public virtual DS_IOF_Item {
 public:
  ZKW_RenderObjData() = default;
  // Copies the restart flag's value, the timing part (sharing its timelines), GUID and keep-GUID.
  ZKW_RenderObjData(const ZKW_RenderObjData& other);
  ZKW_RenderObjData& operator=(const ZKW_RenderObjData&) = delete;

  // "ZKW_RenderObjData" version 2: GUID (text), the "ZKW_SmartTiming" record, Int32 restart flag.
  bool Save(DS_IOF_Archive& archive) const override;
  // The body: GUID, the timing record's header (name dropped) and body, and from version 2 the
  // restart flag straight into its value. Answers true.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Virtual operations every description inherits.

  // A flag of the kind; false, and no kind answers otherwise.
  virtual bool TestFlag(int /*flag*/) const { return false; }
  // Lets a kind fit a timeline to its content (the sound kinds give a random timeline their
  // sound's length). False in the base.
  virtual bool AdjustTiming(ZKW_Timing* /*timing*/, int /*arg*/) { return false; }
  // Puts the kind's own state back to its start (particle controls re-run their warm-up, brushes
  // and sprites reset their clocks). Called by the run-time object's Restart and, when the restart
  // flag is set, its OnSlideRestart. Nothing in the base.
  virtual void Restart() {}
  // An alternative way to make the run-time object, which nothing in the player calls; generator
  // kinds answer a new object, picture-copying brushes recreate their targets. Nothing here.
  virtual void CreateRuntimeObjectAlt() {}
  // The device was lost: drop device objects (picture-copying and blurring brushes do). Nothing
  // in the base.
  virtual void OnLostDevice() {}

  // While non-zero the object's timing and state restart whenever its slide restarts.
  MediaParamT<int> restartFlag{1};
  ZKW_SmartTiming timing;
  // Zero until the run-time object assigns one.
  GUID guid;
  // While set, a non-zero GUID stays when a run-time object is made from the description.
  uint8_t keepGuid = 1;
};
