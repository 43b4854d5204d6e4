#pragma once

#include <cstdint>
#include <initializer_list>

#include "core/chrono/chrono_wrap.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "geometry/shape/zkw_smart_geom.h"
#include "geometry/shape/zkw_vgeom2d_curve.h"
#include "particles/tree/zkw_ptclsys_node.h"

// The node of an object group: a root node at the centre of the render context's target that
// keeps the origin its members were placed relative to, a B-spline path and the position along
// it (a fraction of its length, pulsed by a time-window controller).
class ZKW_GroupNode : public ZKW_PtclSysNode_Root {
 public:
  ZKW_GroupNode();

  // "ZKW_GroupNode" version 2: origin, the path's record, path mode, the path position, then the
  // root node's record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 holds the origin only: the default path, mode and position stay. A path record of
  // a shape that is no curve keeps the held path.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The root's placement, then moved back by the origin.
  void ComputeWorldMatrix(D3DXMATRIX* m) const override;
  void WorldToLocal(D3DXVECTOR3* p) const override;

  // The point on the path at the modulated position (path mode non-zero) or the root point,
  // minus the origin.
  D3DXVECTOR3 PathOffset() const;
  // Rebuilds the path's samples and its centre line (a band of width 0), from which its length
  // and points are answered.
  void RebuildPath();

  MediaParamT<int> pathMode{0};
  ZKW_SmartGeom<ZKW_VGeom2D_Curve> path;
  ChronoWrap<UINTSclaleTo<float>> pathPosition{100u, 0.01f, 0.0f};
  D3DXVECTOR3 origin{0, 0, 0};
};

// Appends a node at each of `points` to the group's path (when it is a curve of
// nodes) and rebuilds it. For the tools that build groups.
void AppendPathNodes(ZKW_GroupNode& node, std::initializer_list<D3DXVECTOR3> points);
