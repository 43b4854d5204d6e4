#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <type_traits>
#include <utility>

#include "core/param/smart_points.h"
#include "geometry/curve/corner_point_io.h"
#include "geometry/path/bspline_point_io.h"
#include "geometry/shape/zkw_vgeom2d_curve.h"

// What the node-defined curve kinds share: their own smart curve (SmartCurve, whose nodes are of
// type Node: DX_BSplinePnt or ZKW_CornerBSplinePnt), node access, and the stored form of the
// nodes. A copy has its own smart curve, a copy of this one's: the node objects are shared, and
// so is the offsetter of the offset kinds.
template <class SmartCurve, class Node>
class NodeDefinedShape : public ZKW_VGeom2D_NodeDefined {
 public:
  const Node* NodeAt(int index) const override {
    if (index < 0 || index >= smart_.GetCount()) return nullptr;
    return smart_.points.Value()[static_cast<size_t>(index)].Get();
  }

  // A node of the kind's type made from `node`, stored at the end.
  void AppendNode(const DX_BSplinePnt* node) override {
    if (node != nullptr) InsertNode(MakeNode(*node));
  }

  SmartCurve& Smart() { return smart_; }
  const SmartCurve& Smart() const { return smart_; }

  // The node records (replacing the nodes, then the curve's Rebuild), then the record of
  // ZKW_VGeom2D_Curve.
  void ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
    if constexpr (std::is_same_v<Node, DX_BSplinePnt>) {
      ReadBSplinePointVector(archive, smart_.points.RawValue());
      smart_.Rebuild();
    } else {
      ReadCornerPointVector(archive, smart_);
    }
    ZKW_VGeom2D_Curve::ReadBody(archive, ReadBaseHeader(archive));
  }

 protected:
  NodeDefinedShape() : ZKW_VGeom2D_NodeDefined(smart_) {}
  NodeDefinedShape(const NodeDefinedShape& other)
      : ZKW_VGeom2D_NodeDefined(smart_), smart_(other.smart_) {}

  // `name`, version 1, Dword node count, each node's record, then the ZKW_VGeom2D_Curve record.
  bool SaveNodes(DS_IOF_Archive& archive, std::u16string_view name) const {
    WriteRecordHeader(archive, zkw_string(name), 1);
    const auto& nodes = smart_.points.Value();
    archive.io().WriteDword(static_cast<uint32_t>(nodes.size()));
    for (const auto& node : nodes) {
      if (node) {
        node->Write(archive);
      } else {
        Node().Write(archive);
      }
    }
    return ZKW_VGeom2D_Curve::Save(archive);
  }

  // Stores `node` at the end of the node list, makes it current (notifying the current index
  // only when it changes), then notifies the list; the curve is not told and not rebuilt.
  void InsertNode(std::unique_ptr<Node> node) {
    smart_.points.Insert(smart_.GetCount(), DS_SafePtr<Node>(std::move(node)), nullptr);
  }

  // A corner node at (x, y, 0) with zero handles.
  void InsertCorner(float x, float y) {
    auto corner = std::make_unique<Node>();
    corner->SetValueSilently({x, y, 0.0f});
    InsertNode(std::move(corner));
  }

  // The kind's node with the position and both handles of `node`: a B-spline point shares the
  // tag, a corner point gets its own.
  static std::unique_ptr<Node> MakeNode(const DX_BSplinePnt& node) {
    if constexpr (std::is_same_v<Node, DX_BSplinePnt>) {
      auto made = std::make_unique<DX_BSplinePnt>(static_cast<const DX_SmartPnt&>(node));
      made->firstHandle.SetValueSilently(node.firstHandle.Value());
      made->secondHandle.SetValueSilently(node.secondHandle.Value());
      return made;
    } else {
      return std::make_unique<Node>(node);
    }
  }

  SmartCurve smart_;
};
