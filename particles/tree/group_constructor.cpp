#include "particles/tree/group_constructor.h"

#include <algorithm>
#include <utility>

#include "core/registry/read_by_name.h"

namespace {

bool HasGroupLink(const DS_SafePtr<ZKW_RenderObj>& object) {
  const auto* member = dynamic_cast<const DS_ABObj*>(object.Get());
  return member != nullptr && member->Description() != nullptr &&
         !member->Description()->groupLink.IsNull();
}

}  // namespace

ZKW_Group_Constructor::ZKW_Group_Constructor() : node(std::make_unique<ZKW_GroupNode>()) {}

ZKW_Group_Constructor::ZKW_Group_Constructor(const ZKW_Group_Constructor& other)
    : DS_ABObj_Constructor(other),
      membersOutside(other.membersOutside.Value()),
      members(other.members),
      node(other.node),
      memberRecords(other.memberRecords) {}

bool ZKW_Group_Constructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_Group_Constructor", 2);
  archive.io().WriteBool(membersOutside.Value());
  if (node) {
    node->Save(archive);
  } else {
    ZKW_GroupNode().Save(archive);
  }
  std::vector<const DS_ABObj_Constructor*> saved;
  for (const DS_SafePtr<ZKW_RenderObj>& member : members)
    if (const auto* object = dynamic_cast<const DS_ABObj*>(member.Get()))
      if (object->Description() != nullptr) saved.push_back(object->Description());
  for (const std::unique_ptr<DS_ABObj_Constructor>& record : *memberRecords)
    if (record) saved.push_back(record.get());
  archive.io().WriteDword(static_cast<uint32_t>(saved.size()));
  for (const DS_ABObj_Constructor* description : saved)
    description->Save(archive);
  return DS_ABObj_Constructor::Save(archive);
}

bool ZKW_Group_Constructor::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  archive.io().ReadBool(membersOutside.RawValue());
  if (version >= 2) {
    std::unique_ptr<ZKW_IOF_Item> item = ReadByName(archive, GetIofItemRegistry());
    auto* read = dynamic_cast<ZKW_GroupNode*>(item.get());
    if (read != nullptr) item.release();
    node = DS_SafePtr<ZKW_GroupNode>(std::unique_ptr<ZKW_GroupNode>(read));
  }
  MemberRecords records;
  ReadObjectList(archive, records);
  records.remove(nullptr);
  *memberRecords = std::move(records);
  return DS_ABObj_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_RenderObj> ZKW_Group_Constructor::CreateRuntimeObject() {
  return std::make_unique<ZKW_Group_Obj>(std::make_unique<ZKW_Group_Constructor>(*this));
}

void ZKW_Group_Constructor::GetOrCreateRuntimeObject(RuntimeObjectList& out,
                                                     RuntimeObjectsByGuid& made) {
  if (!out.empty()) {
    const auto* last = dynamic_cast<const DS_ABObj*>(out.back().Get());
    if (last != nullptr && last->Description() == this) {
      MakeMembers(made);
      return;
    }
  }
  DS_ABObj_Constructor::GetOrCreateRuntimeObject(out, made);
  const auto* object = dynamic_cast<const DS_ABObj*>(out.back().Get());
  if (object == nullptr) return;
  if (auto* bound = dynamic_cast<ZKW_Group_Constructor*>(object->Description()))
    if (bound != this) bound->GetOrCreateRuntimeObject(out, made);
}

void ZKW_Group_Constructor::MakeMembers(RuntimeObjectsByGuid& made) {
  for (const std::unique_ptr<DS_ABObj_Constructor>& record : *memberRecords) {
    const size_t before = members.size();
    record->GetOrCreateRuntimeObject(members, made);
    if (members.size() == before) continue;
    if (auto* member = dynamic_cast<DS_ABObj*>(members.back().Get()))
      if (member->Description() != nullptr) member->Description()->groupLink = guid;
  }
  // The records are spent: a later call must not make (or reach) them again.
  memberRecords->clear();
}

void ZKW_Group_Constructor::GetPathOffset(D3DXVECTOR3* out) const {
  *out = node ? node->PathOffset() : D3DXVECTOR3(0, 0, 0);
}

ZKW_Group_Obj::ZKW_Group_Obj(std::unique_ptr<ZKW_Group_Constructor> description)
    : DS_ABObj(std::move(description)),
      group_(static_cast<ZKW_Group_Constructor*>(Description())) {}

void ZKW_Group_Obj::Render(DS_2D_Light& renderer, int* readerCount) {
  if (!Held()) return;
  for (const DS_SafePtr<ZKW_RenderObj>& member : group_->members)
    if (member) member->Render(renderer, readerCount);
}

int ZKW_Group_Obj::NeedsPictureBelow() const {
  if (!Held()) return 0;
  int sum = 0;
  for (const DS_SafePtr<ZKW_RenderObj>& member : group_->members)
    if (member) sum += member->NeedsPictureBelow();
  return sum;
}

void ZKW_Group_Obj::SetActive(bool active) {
  DS_ABObj::SetActive(active);
  for (const DS_SafePtr<ZKW_RenderObj>& member : group_->members)
    if (member) member->SetActive(active);
}

void ZKW_Group_Obj::Update(float localTime) {
  D3DXVECTOR3 offset;
  group_->GetPathOffset(&offset);
  for (const DS_SafePtr<ZKW_RenderObj>& member : group_->members)
    if (member) member->SetTargetPoint(offset.x, offset.y, offset.z);
  if (!Held()) return;
  for (const DS_SafePtr<ZKW_RenderObj>& member : group_->members)
    if (member) member->AdvanceTime(localTime);
}

bool ZKW_Group_Obj::CollectGroupMembers(RuntimeObjectList::const_iterator first,
                                        RuntimeObjectList::const_iterator last) {
  group_->members.clear();
  for (auto it = first; it != last && HasGroupLink(*it); ++it)
    group_->members.push_back(*it);
  return true;
}

bool ZKW_Group_Obj::ExpandForRender(RuntimeObjectList* walk) {
  if (walk != nullptr && Held())
    walk->insert(walk->end(), group_->members.begin(), group_->members.end());
  return true;
}

void ZKW_Group_Obj::RemoveMembersAfter(int index, RuntimeObjectList& list) {
  const size_t pos = std::min(static_cast<size_t>(std::max(index + 1, 0)), list.size());
  if (!Held()) {
    while (pos < list.size() && HasGroupLink(list[pos]))
      list.erase(list.begin() + static_cast<std::ptrdiff_t>(pos));
  } else {
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(pos), group_->members.begin(),
                group_->members.end());
  }
  group_->membersOutside.SetValue(!group_->membersOutside.Value());
}

int ZKW_Group_Obj::GetMemberCount() const {
  return Held() ? 0 : static_cast<int>(group_->members.size());
}
