#include "geometry/curve/zkw_smart_poly_loop.h"

#include <memory>

#include "geometry/curve/offset_curve_queries.h"
#include "geometry/offset/zkw_loop_zerro_line.h"

ZKW_SmartPolyLoop::ZKW_SmartPolyLoop()
    : ZKW_Stripe<ZKW_SmartPolyline>(
          DS_SafePtr<ZKW_CurveOffsetMaker>(std::make_unique<ZKW_LoopZerroLine>())) {}

float ZKW_SmartPolyLoop::TotalLength() const {
  return OffsetterLength(GetOffsetMaker());
}

bool ZKW_SmartPolyLoop::PointAtLength(float length, float offset, D3DXVECTOR3* point,
                                      D3DXVECTOR3* direction) const {
  return TraceOffsetter(GetOffsetMaker(), length, offset, point, direction);
}

bool ZKW_SmartPolyLoop::DirectionAtLength(float /*length*/, D3DXVECTOR3* /*direction*/) const {
  return false;
}

void ZKW_SmartPolyLoop::Tessellate(std::vector<CurveSample>& out, int /*samplesPerSegment*/) {
  if (ZKW_CurveOffsetMaker* offsetter = GetOffsetMaker())
    offsetter->SetPoints(static_cast<unsigned>(GetCount()), ControlPointSource());
  out = Samples();
}

void ZKW_SmartPolyLoop::ForEachSegment(
    std::function<void(const D3DXVECTOR3& from, const D3DXVECTOR3& to)> visit) const {
  ForEachTracedSegment(GetOffsetMaker(), visit);
}
