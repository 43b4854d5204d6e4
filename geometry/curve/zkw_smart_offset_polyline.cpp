#include "geometry/curve/zkw_smart_offset_polyline.h"

#include <memory>

#include "geometry/curve/offset_curve_queries.h"
#include "geometry/offset/zkw_onion_offseter.h"

ZKW_SmartOffsetPolyline::ZKW_SmartOffsetPolyline()
    : ZKW_Stripe<ZKW_SmartPolyline>(
          DS_SafePtr<ZKW_CurveOffsetMaker>(std::make_unique<ZKW_OnionOffseter>())) {}

float ZKW_SmartOffsetPolyline::TotalLength() const {
  return OffsetterLength(GetOffsetMaker());
}

bool ZKW_SmartOffsetPolyline::PointAtLength(float length, float offset, D3DXVECTOR3* point,
                                            D3DXVECTOR3* direction) const {
  return TraceOffsetter(GetOffsetMaker(), length, offset, point, direction);
}

void ZKW_SmartOffsetPolyline::Rebuild() {
  std::vector<CurveSample> discarded;
  Tessellate(discarded, 0);
  // The zero line answers the curve's length and points; without a build it has none, and the
  // curve would have no length for anything that follows it.
  if (ZKW_CurveOffsetMaker* offsetter = GetOffsetMaker()) offsetter->Build(0.0f);
}

void ZKW_SmartOffsetPolyline::Tessellate(std::vector<CurveSample>& out, int /*samplesPerSegment*/) {
  if (ZKW_CurveOffsetMaker* offsetter = GetOffsetMaker())
    offsetter->SetPoints(static_cast<unsigned>(GetCount()), ControlPointSource());
  out = Samples();
}

void ZKW_SmartOffsetPolyline::ForEachSegment(
    std::function<void(const D3DXVECTOR3& from, const D3DXVECTOR3& to)> visit) const {
  for (int i = 1; i < GetCount(); ++i)
    visit(PointAt(i - 1).Value(), PointAt(i).Value());
}
