#include "geometry/curve/offset_curve_queries.h"

#include "geometry/offset/zkw_stripe_tracer.h"

float OffsetterLength(const ZKW_CurveOffsetMaker* offsetter) {
  return offsetter != nullptr ? offsetter->ZeroLineLength() : 0.0f;
}

bool TraceOffsetter(const ZKW_CurveOffsetMaker* offsetter, float length, float offset,
                    D3DXVECTOR3* point, D3DXVECTOR3* direction) {
  if (offsetter == nullptr) return false;
  const DS_SafePtr<ZKW_StripeTracer> tracer = offsetter->CreateTracer();
  return tracer && tracer->Trace(length, offset, point, direction);
}

void ForEachTracedSegment(
    const ZKW_CurveOffsetMaker* offsetter,
    const std::function<void(const D3DXVECTOR3& from, const D3DXVECTOR3& to)>& visit) {
  if (offsetter == nullptr) return;
  const DS_SafePtr<ZKW_StripeTracer> tracer = offsetter->CreateTracer();
  if (!tracer) return;
  unsigned state = 0;
  D3DXVECTOR3 previous, current;
  if (!tracer->Next(&state, &previous)) return;
  while (tracer->Next(&state, &current)) {
    visit(previous, current);
    previous = current;
  }
}
