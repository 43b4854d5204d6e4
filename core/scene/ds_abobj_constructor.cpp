#include "core/scene/ds_abobj_constructor.h"

#include "core/scene/ds_abobj.h"
#include "core/scene/runtime_object_map.h"
#include "core/scene/scene_services.h"
#include "core/timing/ds_timeline_control.h"

namespace {

// Group links are never stored, but a project whose objects share GUIDs could still make a
// chain of links that leads back to itself; it ends here.
constexpr int kMaxGroupLinkChain = 64;
thread_local int g_groupLinkDepth = 0;

class GroupLinkScope {
 public:
  GroupLinkScope() { ++g_groupLinkDepth; }
  ~GroupLinkScope() { --g_groupLinkDepth; }
  GroupLinkScope(const GroupLinkScope&) = delete;
  GroupLinkScope& operator=(const GroupLinkScope&) = delete;
  bool TooLong() const { return g_groupLinkDepth > kMaxGroupLinkChain; }
};

}  // namespace

DS_ABObj_Constructor::DS_ABObj_Constructor(const DS_ABObj_Constructor& other)
    : DS_IOF_Item(),
      ZKW_RenderObjData(other),
      depth(other.depth),
      name(other.name),
      tag(other.tag) {}

DS_ABObj_Constructor::~DS_ABObj_Constructor() = default;

bool DS_ABObj_Constructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_ABObj_Constructor", 4);
  archive.io().WriteWideString(name);
  archive.io().WriteUInt32(depth.Value());
  return ZKW_RenderObjData::Save(archive);
}

bool DS_ABObj_Constructor::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  archive.io().ReadWideString(name);
  if (version > 2) archive.io().ReadUInt32(depth.RawValue());
  if (version < 2) {
    timing.RawValue() = 0;
    timing.NotifyChanged(nullptr);
    return true;
  }
  if (version < 4) {
    DS_TimeLineControl legacy;
    legacy.ReadBody(archive, ReadBaseHeader(archive));
    legacy.ConvertInto(timing);
    return true;
  }
  return ZKW_RenderObjData::ReadBody(archive, ReadBaseHeader(archive));
}

PictureRef* DS_ABObj_Constructor::GetPicture(PictureRef* out) {
  *out = PictureRef{};
  return out;
}

bool AppendWholeTarget(std::vector<ScreenRect>& rects) {
  ScreenRect whole;
  CurrentTargetSize(whole.width, whole.height);
  rects.push_back(whole);
  return true;
}

bool DS_ABObj_Constructor::AppendScreenRects(std::vector<ScreenRect>& rects) {
  return AppendWholeTarget(rects);
}

ZKW_GroupNode* DS_ABObj_Constructor::ResolveGroupLink() {
  if (groupLink.IsNull()) return nullptr;
  GroupLinkScope scope;
  if (scope.TooLong()) return nullptr;
  DS_ABObj* group = FindRuntimeObject(groupLink);
  if (group == nullptr || group->Description() == nullptr) return nullptr;
  return group->Description()->ResolveGroupLink();
}

void DS_ABObj_Constructor::GetOrCreateRuntimeObject(RuntimeObjectList& out,
                                                    RuntimeObjectsByGuid& made) {
  const GUID key = guid;
  if (!key.IsNull()) {
    auto it = made.find(key);
    if (it != made.end()) {
      out.push_back(it->second);
      return;
    }
  }
  DS_SafePtr<ZKW_RenderObj> object(CreateRuntimeObject());
  out.push_back(object);
  made[key] = std::move(object);
}
