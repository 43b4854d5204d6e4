#pragma once

#include <memory>

#include "core/math/transform_node.h"

// Deletes a frame tree that owns its nodes: every child (with its own children, depth first),
// each with its modifier, then the root with its modifier.
struct FrameTreeDeleter {
  void operator()(TransformNode* root) const;
};

// One copy's frame tree, owned through its root. The nodes' child lists stay plain borrowed
// lists, as the draw operations read them; only the tree's owner deletes them.
using FrameTree = std::unique_ptr<TransformNode, FrameTreeDeleter>;

// Appends `child` to the parent's child list, which only borrows it (the tree's owner deletes
// it), and answers it.
TransformNode& AdoptChild(TransformNode& parent, std::unique_ptr<TransformNode> child);
