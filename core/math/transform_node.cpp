#include "core/math/transform_node.h"

#include "platform/math/d3dx_math.h"

TransformNode::TransformNode() {
  D3DXMatrixIdentity(&world);
  D3DXMatrixIdentity(&local);
}

TransformNode::~TransformNode() = default;

void TransformNode::UpdateWorld(const D3DXMATRIX* parent) {
  if (modifier) {
    modifier->Compute(this);
  } else {
    world = local;
  }
  if (parent != nullptr) D3DXMatrixMultiply(&world, &world, parent);
  for (TransformNode* child : children) {
    if (child != nullptr) child->UpdateWorld(&world);
  }
}
