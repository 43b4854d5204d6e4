#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <memory>

#include "platform/math/d3dx_types.h"

class TransformNode;

// Computes a node's world matrix in place of its local one (an animation, a billboard, ...).
// The node owns its modifier.
class TransformModifier {
 public:
  virtual ~TransformModifier() = default;
  // Writes node->world.
  virtual void Compute(TransformNode* node) = 0;
};

// A node of a matrix hierarchy: every drawable mesh embeds one as its first member (screen and
// colour quads, indexed meshes, particle batches) and draws with its world matrix.
//
// UpdateWorld recomputes the world matrices of the node and of its children, in list order:
//   world = (modifier ? what the modifier computes : local) x parent   (row vectors, v x M).
// The children are borrowed: the node neither owns nor deletes them, and they must stay alive
// while they are in its list, and the hierarchy must be a tree. The node owns its modifier.
//
// A node is neither copied nor moved, because parents refer to their children by address.
class TransformNode {
 public:
  TransformNode();
  ~TransformNode();
  TransformNode(const TransformNode&) = delete;
  TransformNode& operator=(const TransformNode&) = delete;

  // world = the modifier's result, or local without one; then world x *parent when a parent
  // matrix is given; then every child in list order with this world as its parent.
  void UpdateWorld(const D3DXMATRIX* parent);

  D3DXMATRIX world;  // identity until the first update
  D3DXMATRIX local;  // identity
  // Four words that meshes may use; the node's own operations leave them alone.
  std::array<uint32_t, 4> reserved{};
  std::unique_ptr<TransformModifier> modifier;
  // A flag that meshes may use, 1 for a new node; the node's own operations leave it alone.
  uint32_t flag = 1;
  std::list<TransformNode*> children;
};
