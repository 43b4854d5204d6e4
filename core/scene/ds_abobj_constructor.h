#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "core/ds_safe_ptr.h"
#include "core/guid.h"
#include "core/link/ds_file_link.h"
#include "core/param/media_param_t.h"
#include "core/scene/zkw_render_obj_data.h"
#include "core/zkw_string.h"

class ZKW_RenderObj;
class ZKW_GroupNode;

// A rectangle of the render target: x, y, width, height.
struct ScreenRect {
  float x = 0.0f;
  float y = 0.0f;
  float width = 0.0f;
  float height = 0.0f;

  friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// Appends {0, 0, width, height} of the current render target and answers true: the screen area
// of objects and renderer kinds that cover the whole target.
bool AppendWholeTarget(std::vector<ScreenRect>& rects);

// The picture that stands for an object: its link (may be null), two values of the kind, and the
// scale of one frame (sprite kinds give 1 / their frame count).
struct PictureRef {
  const DS_ImageFileLink* link = nullptr;
  int value = 0;
  bool flag = false;
  float scale = 1.0f;
};

using RuntimeObjectList = std::vector<DS_SafePtr<ZKW_RenderObj>>;
// The run-time objects a slide start has made so far, by the GUID of the description that made
// them.
using RuntimeObjectsByGuid = std::map<GUID, DS_SafePtr<ZKW_RenderObj>>;

// The saved, editable form of a scene object: the record read from the project, kept by its
// slide. At slide start each description makes its run-time object (a ZKW_RenderObj, usually a
// DS_ABObj), which owns a copy of the description and animates and draws from it. Every object
// kind derives from this class; its record is its own header and fields followed by the
// complete "DS_ABObj_Constructor" record.
//
// A kind implements CreateRuntimeObject (make the run-time object bound to a copy of itself,
// made with its copy constructor, which starts with this class's copy constructor), Save (its
// fields, then DS_ABObj_Constructor::Save) and ReadBody (its fields, then ReadBaseHeader and
// DS_ABObj_Constructor::ReadBody), and overrides the virtual operations below that it needs.
// (Placeholder operations that no kind overrides and nothing calls are left out.)
class DS_ABObj_Constructor : public ZKW_RenderObjData {
 public:
  // Object kind codes answered by GetObjectKind.
  static constexpr int kSoundKind = 1;
  static constexpr int kPlainKind = 3;
  static constexpr int kBrushKind = 4;
  static constexpr int kParticleSystemKind = 8;
  static constexpr int kLineKind = 9;
  static constexpr int kGroupKind = 10;

  // Timing part with its defaults (continuous timeline current), depth 100, empty name, tag 0,
  // no group link.
  DS_ABObj_Constructor() = default;
  // Copies the base part (timelines shared), depth, name and tag. The group link is not copied:
  // the copy's is zero. Observers of the source's parameters are not copied.
  DS_ABObj_Constructor(const DS_ABObj_Constructor& other);
  DS_ABObj_Constructor& operator=(const DS_ABObj_Constructor&) = delete;
  ~DS_ABObj_Constructor() override;

  // "DS_ABObj_Constructor" version 4: name, UInt32 depth, then the "ZKW_RenderObjData" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The body of any version: 0 and 1 hold the name only (the timeline kind is set to 0 and
  // notified); 2 the name and a legacy timing record; 3 the name, the depth and a legacy timing
  // record (converted into the timing part); 4 the name, the depth and the "ZKW_RenderObjData"
  // record. A newer version reads as 4. Answers true.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Virtual operations every kind inherits (the defaults are this class's behaviour).

  // Recreates the picture texture (FX brushes). Nothing in the base.
  virtual void RebuildPicture() {}
  // The mouse at client point (x, y): non-zero over an active link, which also sets the hand
  // cursor (text links). 0 in the base.
  virtual int HoverTest(int /*x*/, int /*y*/) { return 0; }
  // A click at client point (x, y): text links jump to their slide. Nothing in the base.
  virtual void Click(int /*x*/, int /*y*/) {}
  // One of the kind codes above; kPlainKind in the base.
  virtual int GetObjectKind() const { return kPlainKind; }
  // Fills `out` with the picture that stands for the object and answers it; the base has none:
  // {no link, 0, false, 1.0}.
  virtual PictureRef* GetPicture(PictureRef* out);
  // A hint that nothing in the player gives; no kind acts on it.
  virtual void ObjectHint(int /*hint*/) {}
  // Appends the screen area the object covers: the whole current render target ({0, 0, target
  // width, target height}) in the base, which answers true. FX brushes append their own rectangle
  // and answer false.
  virtual bool AppendScreenRects(std::vector<ScreenRect>& rects);
  // Appends copies of the picture links the object uses (sprite kinds). Nothing in the base.
  virtual void AppendImageLinks(std::vector<DS_ImageFileLink>& /*links*/) {}
  // The group node of the group this description's run-time copy belongs to: follows the group
  // link through the run-time object map to the group's description, which answers its node.
  // Null without a link, for a link to no live object, or at the end of a chain of plain
  // descriptions. Group descriptions override it to answer their node.
  virtual ZKW_GroupNode* ResolveGroupLink();
  // Makes this description's run-time object, bound to a copy of this description.
  virtual std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() = 0;
  // At slide start: appends this description's run-time object to `out`. Descriptions that share
  // a non-zero GUID share one object: when `made` holds the GUID, that handle is appended again;
  // otherwise a new object is made, appended and stored in `made` under the GUID (a zero one
  // included). Groups also make their members.
  virtual void GetOrCreateRuntimeObject(RuntimeObjectList& out, RuntimeObjectsByGuid& made);
  // Releases the picture and takes a fresh picture name (FX brushes). Nothing in the base.
  virtual void ResetPicture() {}
  // A yes/no property of the kind that nothing in the player asks: true in the base; brushes,
  // air-brush kinds, DS_Bling, DS_Aurora, DS_TwinklingStars, DS_BackgroundCopy and DS_BlureFX
  // answer false.
  virtual bool KindQuery() const { return true; }
  // The folder of exported object presets, relative to the editor's data folder.
  virtual const char16_t* GetPresetFolder() const { return u"\\Animations Presets\\"; }

  // Depth in percent: 100 lies on the picture; the renderer moves objects by
  // (100 / depth - 1) x the camera offset.
  MediaParamT<unsigned> depth{100};
  zkw_string name;
  // A value some kinds set at construction (1, 2 or 6); copied, never stored, read by nothing.
  int32_t tag = 0;
  // The GUID of the group whose member this run-time copy is; set by the group, never stored.
  GUID groupLink;
};
