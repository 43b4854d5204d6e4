#include "geometry/curve/zkw_smart_offset_bspline.h"

#include <memory>

#include "geometry/curve/offset_curve_queries.h"
#include "geometry/offset/zkw_onion_offseter.h"

ZKW_SmartOffsetBSpline::ZKW_SmartOffsetBSpline()
    : ZKW_Stripe<ZKW_SmartBSpline>(
          DS_SafePtr<ZKW_CurveOffsetMaker>(std::make_unique<ZKW_OnionOffseter>())) {}

float ZKW_SmartOffsetBSpline::TotalLength() const {
  return OffsetterLength(GetOffsetMaker());
}

bool ZKW_SmartOffsetBSpline::PointAtLength(float length, float offset, D3DXVECTOR3* point,
                                           D3DXVECTOR3* direction) const {
  return TraceOffsetter(GetOffsetMaker(), length, offset, point, direction);
}

void ZKW_SmartOffsetBSpline::Rebuild() {
  std::vector<CurveSample> discarded;
  Tessellate(discarded, kOffsetSamplesPerSegment);
  // The zero line answers the curve's length and points; without a build it has none, and the
  // curve would have no length for anything that follows it.
  if (ZKW_CurveOffsetMaker* offsetter = GetOffsetMaker()) offsetter->Build(0.0f);
}

void ZKW_SmartOffsetBSpline::Tessellate(std::vector<CurveSample>& out, int samplesPerSegment) {
  std::vector<CurveSample> bezier;
  ZKW_SmartBSpline::Tessellate(bezier, samplesPerSegment);
  if (ZKW_CurveOffsetMaker* offsetter = GetOffsetMaker()) {
    offsetter->SetPoints(
        static_cast<unsigned>(bezier.size()),
        [&bezier](unsigned index) -> const D3DXVECTOR3& { return bezier.at(index).position; });
  }
  out = Samples();
}

void ZKW_SmartOffsetBSpline::ForEachSegment(
    std::function<void(const D3DXVECTOR3& from, const D3DXVECTOR3& to)> visit) const {
  ForEachTracedSegment(GetOffsetMaker(), visit);
}
