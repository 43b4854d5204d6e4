#pragma once

#include <cstdint>
#include <list>
#include <memory>

#include "core/ds_safe_ptr.h"
#include "core/param/media_param_tb.h"
#include "core/scene/ds_abobj.h"
#include "core/scene/ds_abobj_constructor.h"
#include "particles/tree/group_node.h"

// The saved form of an object group: the members' own records, the group node (path, timing and
// origin) and whether the members stand in the slide's object list (1) or the group holds them.
// At slide start the group's run-time object is made, then one run-time object per member record
// (each linked to the group); the records are then dropped.
class ZKW_Group_Constructor : public DS_ABObj_Constructor {
 public:
  using MemberRecords = std::list<std::unique_ptr<DS_ABObj_Constructor>>;

  ZKW_Group_Constructor();
  // The base part, the flag; the member handles, the node and the member records are shared.
  ZKW_Group_Constructor(const ZKW_Group_Constructor& other);

  // "ZKW_Group_Constructor" version 2: Bool members outside, the node's record, Dword member
  // count and each member's description (the run-time members', then the records not yet made),
  // then the base record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 has no node record: the default node stays. A node record of another class leaves
  // no node. Member records of unknown classes are dropped.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  ZKW_GroupNode* ResolveGroupLink() override { return node.Get(); }
  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override;
  // Makes the group's run-time object (as every description does), then, on the copy it is bound
  // to, one run-time object per member record appended to the group's members and linked to the
  // group. The records are used once: a second call makes no members.
  void GetOrCreateRuntimeObject(RuntimeObjectList& out, RuntimeObjectsByGuid& made) override;
  // The node's path offset; (0, 0, 0) without a node.
  void GetPathOffset(D3DXVECTOR3* out) const;

  MediaParamTB<bool> membersOutside{true};
  RuntimeObjectList members;
  DS_SafePtr<ZKW_GroupNode> node;
  // Shared by the copies, so that the records are made and dropped once.
  std::shared_ptr<MemberRecords> memberRecords = std::make_shared<MemberRecords>();

 private:
  void MakeMembers(RuntimeObjectsByGuid& made);
};

// The run-time group: hands its path offset to every member as the target point each frame and,
// while it holds its members, advances, asks and draws them on their behalf.
class ZKW_Group_Obj : public DS_ABObj {
 public:
  explicit ZKW_Group_Obj(std::unique_ptr<ZKW_Group_Constructor> description);

  void Render(DS_2D_Light& renderer, int* readerCount) override;
  int NeedsPictureBelow() const override;
  void SetActive(bool active) override;
  void Update(float localTime) override;
  int GetObjectKind() const override { return DS_ABObj_Constructor::kGroupKind; }
  // Takes the objects from `first` up to the first without a group link.
  bool CollectGroupMembers(RuntimeObjectList::const_iterator first,
                           RuntimeObjectList::const_iterator last) override;
  bool ExpandForRender(RuntimeObjectList* walk) override;
  // Moves the members out of `list` (the linked objects after `index`) or back in after it, and
  // inverts the flag.
  void RemoveMembersAfter(int index, RuntimeObjectList& list) override;
  int GetMemberCount() const override;

  ZKW_Group_Constructor& Group() const { return *group_; }

 private:
  bool Held() const { return !group_->membersOutside.Value(); }

  ZKW_Group_Constructor* group_;  // the description the base owns
};
