#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/registry/read_by_name.h"
#include "particles/tree/group_constructor.h"
#include "tree_fixture.h"

namespace tree_test {
namespace {

using Groups = TreeRenderTest;

// A group of two particle systems, held as records.
std::unique_ptr<ZKW_Group_Constructor> TwoMemberGroup() {
  auto group = std::make_unique<ZKW_Group_Constructor>();
  for (int i = 0; i < 2; ++i)
    group->memberRecords->push_back(std::make_unique<ZKW_PtclSys_Constructor>());
  return group;
}

// Starts `group` as a slide does: its run-time object, then its members; answers the object.
ZKW_Group_Obj& Start(ZKW_Group_Constructor& group, RuntimeObjectList& slide) {
  RuntimeObjectsByGuid made;
  group.GetOrCreateRuntimeObject(slide, made);
  return dynamic_cast<ZKW_Group_Obj&>(*slide.at(0));
}

TEST_F(Groups, TheOffsetFollowsTheRootPointOrThePath) {
  StartSlideOn(renderer_, 64, 64, 0xFF000000);
  ZKW_GroupNode node;
  EXPECT_EQ(node.origin, D3DXVECTOR3(32, 32, 0)) << "the centre of the target";
  EXPECT_EQ(node.PathOffset(), D3DXVECTOR3(0, 0, 0));
  node.Physics().position.SetValue(D3DXVECTOR3(40, 20, 0));
  EXPECT_EQ(node.PathOffset(), D3DXVECTOR3(8, -12, 0));

  AppendPathNodes(node, {D3DXVECTOR3(0, 10, 0), D3DXVECTOR3(50, 10, 0), D3DXVECTOR3(100, 10, 0)});
  const ZKW_VGeom2D_Curve* path = node.path.Get();
  ASSERT_NE(path, nullptr);
  node.pathMode.SetValue(1);
  node.pathPosition.SetValue(50);
  node.pathPosition.modulated = 0.5f;  // the controller at 1
  D3DXVECTOR3 half, direction;
  ASSERT_TRUE(path->PointAtLength(path->Length() * 0.5f, 0.0f, &half, &direction));
  EXPECT_NEAR(half.y, 10.0f, 1e-3f);
  const D3DXVECTOR3 offset = node.PathOffset();
  EXPECT_NEAR(offset.x, half.x - 32.0f, 1e-4f);
  EXPECT_NEAR(offset.y, 10.0f - 32.0f, 1e-3f);
}

TEST_F(Groups, MembersAreMadeOnceAndLinkedToTheGroup) {
  auto group = TwoMemberGroup();
  RuntimeObjectList slide;
  ZKW_Group_Obj* object = &Start(*group, slide);
  ASSERT_EQ(slide.size(), 1u);
  ZKW_Group_Constructor& bound = object->Group();
  ASSERT_EQ(bound.members.size(), 2u);
  for (const auto& member : bound.members) {
    auto* m = dynamic_cast<DS_ABObj*>(member.Get());
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->Description()->groupLink, bound.guid);
  }
  EXPECT_TRUE(group->memberRecords->empty()) << "the records are spent";
  EXPECT_EQ(object->GetMemberCount(), 2) << "outside: counted";

  // A second start makes no members (the records are gone, not dangling).
  RuntimeObjectList again;
  EXPECT_TRUE(Start(*group, again).Group().members.empty());
  EXPECT_EQ(again.size(), 1u);
}

TEST_F(Groups, CollectingStopsAtTheFirstUnlinkedObject) {
  auto group = TwoMemberGroup();
  RuntimeObjectList slide;
  ZKW_Group_Obj& object = Start(*group, slide);
  RuntimeObjectList objects;
  std::vector<bool> linked = {true, true, false, true};
  for (const bool link : linked) {
    auto system = std::make_unique<ZKW_PtclSys_Constructor>();
    std::unique_ptr<ZKW_RenderObj> made1 = system->CreateRuntimeObject();
    if (link) static_cast<DS_ABObj&>(*made1).Description()->groupLink = object.Group().guid;
    objects.emplace_back(std::move(made1));
  }
  EXPECT_TRUE(object.CollectGroupMembers(objects.begin(), objects.end()));
  ASSERT_EQ(object.Group().members.size(), 2u);
  EXPECT_EQ(object.Group().members[0].Get(), objects[0].Get());
  EXPECT_EQ(object.Group().members[1].Get(), objects[1].Get());
}

TEST_F(Groups, TwoRemovalsTakeTheMembersOutAndPutThemBack) {
  auto group = TwoMemberGroup();
  RuntimeObjectList slide;
  ZKW_Group_Obj& object = Start(*group, slide);
  for (const auto& member : object.Group().members)
    slide.push_back(member);
  auto plain = std::make_unique<ZKW_PtclSys_Constructor>();
  slide.emplace_back(plain->CreateRuntimeObject());
  const RuntimeObjectList before = slide;

  object.RemoveMembersAfter(0, slide);
  EXPECT_EQ(slide.size(), 2u) << "the group and the unlinked object";
  EXPECT_FALSE(object.Group().membersOutside.Value());
  EXPECT_EQ(object.GetMemberCount(), 0);
  RuntimeObjectList walk;
  EXPECT_TRUE(object.ExpandForRender(&walk));
  EXPECT_EQ(walk.size(), 2u);

  object.RemoveMembersAfter(0, slide);
  EXPECT_EQ(slide, before);
  EXPECT_TRUE(object.Group().membersOutside.Value());
}

TEST_F(Groups, HeldMembersFollowTheOffsetAndAreDrawnByTheGroup) {
  StartSlideOn(renderer_, 64, 64, 0xFF000000);
  auto group = TwoMemberGroup();
  group->membersOutside.SetValue(false);
  group->node->Physics().position.SetValue(D3DXVECTOR3(42, 32, 0));
  RuntimeObjectList slide;
  ZKW_Group_Obj& object = Start(*group, slide);
  object.Update(0.0f);
  for (const auto& member : object.Group().members) {
    const auto& system = static_cast<ZKW_PtclSys_Obj&>(*member).System();
    EXPECT_FLOAT_EQ(system.Root().Physics().targetOffset[0], 10.0f);
  }
  EXPECT_EQ(object.NeedsPictureBelow(), 0);
  Frame(renderer_, slide);
}

TEST_F(Groups, RecordsReadBack) {
  ZKW_GroupNode node;
  node.pathMode.SetValue(1);
  node.pathPosition.SetValue(30);
  node.origin = D3DXVECTOR3(1, 2, 3);
  bool whole = false;
  const auto readNode = ReadItem(Saved(node), &whole);
  ASSERT_NE(dynamic_cast<ZKW_GroupNode*>(readNode.get()), nullptr);
  EXPECT_TRUE(whole);
  EXPECT_EQ(Saved(*readNode), Saved(node));

  auto group = TwoMemberGroup();
  group->membersOutside.SetValue(false);
  group->name = u"pair";
  const auto readGroup = ReadObject(Saved(*group), &whole);
  auto* back = dynamic_cast<ZKW_Group_Constructor*>(readGroup.get());
  ASSERT_NE(back, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_EQ(back->memberRecords->size(), 2u);
  EXPECT_FALSE(back->membersOutside.Value());
  EXPECT_EQ(Saved(*back), Saved(*group));
}

TEST_F(Groups, OlderRecordsKeepTheDefaults) {
  // A version-1 node: the origin only.
  const auto nodeBytes = Bytes([](DS_IOF_Archive& a) {
    WriteRecordHeader(a, u"ZKW_GroupNode", 1);
    for (const float f : {5.0f, 6.0f, 0.0f})
      a.io().WriteFloat(f);
    ZKW_PtclSysNode_Root().Save(a);
  });
  bool whole = false;
  const auto node = ReadItem(nodeBytes, &whole);
  auto* n = dynamic_cast<ZKW_GroupNode*>(node.get());
  ASSERT_NE(n, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_EQ(n->origin, D3DXVECTOR3(5, 6, 0));
  EXPECT_EQ(n->pathMode.Value(), 0);
  EXPECT_NE(n->path.Get(), nullptr);

  // A version-1 group: no node record.
  const auto groupBytes = Bytes([](DS_IOF_Archive& a) {
    WriteRecordHeader(a, u"ZKW_Group_Constructor", 1);
    a.io().WriteBool(true);
    a.io().WriteDword(1);
    ZKW_PtclSys_Constructor().Save(a);
    ZKW_PtclSys_Constructor().DS_ABObj_Constructor::Save(a);
  });
  const auto group = ReadObject(groupBytes, &whole);
  auto* g = dynamic_cast<ZKW_Group_Constructor*>(group.get());
  ASSERT_NE(g, nullptr);
  EXPECT_TRUE(whole);
  ASSERT_NE(g->node.Get(), nullptr);
  EXPECT_EQ(g->node->pathMode.Value(), 0);
  EXPECT_EQ(g->memberRecords->size(), 1u);
}

}  // namespace
}  // namespace tree_test
