#include "objects/text3d/frame_tree.h"

void FrameTreeDeleter::operator()(TransformNode* root) const {
  if (root == nullptr) return;
  for (TransformNode* child : root->children)
    (*this)(child);
  root->children.clear();
  delete root;
}

TransformNode& AdoptChild(TransformNode& parent, std::unique_ptr<TransformNode> child) {
  parent.children.push_back(nullptr);
  parent.children.back() = child.release();
  return *parent.children.back();
}
