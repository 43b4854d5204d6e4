#include "particles/tree/group_node.h"

#include <memory>
#include <utility>

#include "core/param/smart_points.h"
#include "core/startup/thread_slots.h"
#include "geometry/offset/zkw_curve_offset_maker.h"
#include "platform/math/d3dx_math.h"
#include "player/render/render_context.h"

namespace {

D3DXVECTOR3 TargetCentre() {
  const RenderContext* context = RenderContextTlsSlot::Get();
  if (context == nullptr) return D3DXVECTOR3(0, 0, 0);
  return D3DXVECTOR3(context->frameW * 0.5f, context->frameH * 0.5f, 0.0f);
}

}  // namespace

ZKW_GroupNode::ZKW_GroupNode() : ZKW_PtclSysNode_Root(TargetCentre()) {
  std::unique_ptr<ZKW_VGeom2D> shape = CreateVGeom2DByName("ZKW_VGeom2D_BSpline");
  if (auto* curve = dynamic_cast<ZKW_VGeom2D_Curve*>(shape.get())) {
    shape.release();
    path.Set(std::unique_ptr<ZKW_VGeom2D_Curve>(curve));
  }
  origin = Physics().position.Value();
}

bool ZKW_GroupNode::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_GroupNode", 2);
  archive.io().WriteFloat(origin.x);
  archive.io().WriteFloat(origin.y);
  archive.io().WriteFloat(origin.z);
  if (const ZKW_VGeom2D_Curve* curve = path.Get()) curve->Save(archive);
  archive.io().WriteInt32(pathMode.Value());
  WriteChronoWrap(archive, pathPosition);
  return ZKW_PtclSysNode_Root::Save(archive);
}

void ZKW_GroupNode::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  archive.io().ReadFloat(origin.x);
  archive.io().ReadFloat(origin.y);
  archive.io().ReadFloat(origin.z);
  if (version >= 2) {
    std::unique_ptr<ZKW_VGeom2D> shape = ReadVGeom2D(archive);
    if (auto* curve = dynamic_cast<ZKW_VGeom2D_Curve*>(shape.get())) {
      shape.release();
      path.Set(std::unique_ptr<ZKW_VGeom2D_Curve>(curve));
      RebuildPath();
    }
    archive.io().ReadInt32(pathMode.RawValue());
    ReadChronoWrap(archive, pathPosition);
  }
  ZKW_PtclSysNode_Root::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_GroupNode::ComputeWorldMatrix(D3DXMATRIX* m) const {
  ZKW_PtclSysNode_Root::ComputeWorldMatrix(m);
  D3DXMATRIX back;
  D3DXMatrixTranslation(&back, -origin.x, -origin.y, -origin.z);
  *m = *m * back;
}

void ZKW_GroupNode::WorldToLocal(D3DXVECTOR3* p) const {
  ZKW_PtclSysNode_Root::WorldToLocal(p);
  *p += origin;
}

D3DXVECTOR3 ZKW_GroupNode::PathOffset() const {
  D3DXVECTOR3 p = Physics().position.Value();
  if (pathMode.Value() != 0) {
    if (const ZKW_VGeom2D_Curve* curve = path.Get()) {
      D3DXVECTOR3 direction;
      curve->PointAtLength(curve->Length() * pathPosition.Modulated(), 0.0f, &p, &direction);
    }
  }
  return p - origin;
}

void AppendPathNodes(ZKW_GroupNode& node, std::initializer_list<D3DXVECTOR3> points) {
  auto* path = dynamic_cast<ZKW_VGeom2D_NodeDefined*>(node.path.Get());
  if (path == nullptr) return;
  for (const D3DXVECTOR3& at : points) {
    DX_BSplinePnt point;
    point.SetValueSilently(at);
    path->AppendNode(&point);
  }
  node.RebuildPath();
}

void ZKW_GroupNode::RebuildPath() {
  ZKW_VGeom2D_Curve* curve = path.Get();
  if (curve == nullptr) return;
  curve->GetCurve().Rebuild();
  if (ZKW_CurveOffsetMaker* centreLine = curve->GetCurve().GetOffsetMaker())
    centreLine->Build(0.0f);
}
