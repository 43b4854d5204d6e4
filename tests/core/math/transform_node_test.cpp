#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/math/transform_node.h"
#include "platform/math/d3dx_math.h"

namespace {

D3DXMATRIX Translation(float x, float y, float z) {
  D3DXMATRIX m;
  return *D3DXMatrixTranslation(&m, x, y, z);
}

D3DXVECTOR3 Origin(const TransformNode& node) {
  const D3DXVECTOR3 zero;
  D3DXVECTOR3 out;
  D3DXVec3TransformCoord(&out, &zero, &node.world);
  return out;
}

TEST(TransformNode, StartsAsIdentityWithNoModifier) {
  TransformNode node;
  EXPECT_TRUE(D3DXMatrixIsIdentity(&node.world));
  EXPECT_TRUE(D3DXMatrixIsIdentity(&node.local));
  EXPECT_EQ(node.modifier, nullptr);
  EXPECT_EQ(node.flag, 1u);
  EXPECT_TRUE(node.children.empty());

  node.local = Translation(1, 2, 3);
  node.UpdateWorld(nullptr);
  EXPECT_EQ(node.world, node.local) << "no parent, no modifier: world = local";
}

TEST(TransformNode, WorldIsLocalTimesParentDownTheTree) {
  TransformNode root, child, grandchild;
  D3DXMatrixScaling(&root.local, 2, 2, 2);
  child.local = Translation(1, 0, 0);
  grandchild.local = Translation(0, 1, 0);
  root.children.push_back(&child);
  child.children.push_back(&grandchild);

  const D3DXMATRIX parent = Translation(10, 0, 0);
  root.UpdateWorld(&parent);
  // Row vectors: a point is moved by the node's own matrix first, then by its parents'.
  EXPECT_EQ(Origin(root), D3DXVECTOR3(10, 0, 0));
  EXPECT_EQ(Origin(child), D3DXVECTOR3(12, 0, 0));
  EXPECT_EQ(Origin(grandchild), D3DXVECTOR3(12, 2, 0));
}

TEST(TransformNode, ModifierReplacesLocalAndIsOwned) {
  struct Modifier : TransformModifier {
    Modifier(std::vector<int>* log_, int id_) : log(log_), id(id_) {}
    ~Modifier() override { log->push_back(-id); }
    void Compute(TransformNode* node) override {
      log->push_back(id);
      D3DXMatrixTranslation(&node->world, 0, 0, 5);
    }
    std::vector<int>* log;
    int id;
  };
  std::vector<int> log;
  {
    TransformNode root, a, b;
    root.modifier = std::make_unique<Modifier>(&log, 1);
    a.modifier = std::make_unique<Modifier>(&log, 2);
    b.modifier = std::make_unique<Modifier>(&log, 3);
    root.local = Translation(100, 0, 0);  // ignored while a modifier is set
    root.children = {&a, &b};
    root.UpdateWorld(nullptr);
    EXPECT_EQ(log, (std::vector<int>{1, 2, 3})) << "the node, then its children in list order";
    EXPECT_EQ(Origin(root), D3DXVECTOR3(0, 0, 5));
    EXPECT_EQ(Origin(b), D3DXVECTOR3(0, 0, 10));
    log.clear();
  }
  EXPECT_EQ(log.size(), 3u) << "each node deletes its own modifier, never its children";
}

}  // namespace
