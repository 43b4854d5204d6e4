#include "geometry/offset/zkw_curve_offset_maker.h"

DS_SafePtr<ZKW_StripeMeshBuilder> ZKW_CurveOffsetMaker::CreateMeshBuilder(
    StripeIndexBuffer* /*indices*/, StripeVertexBuffer* /*vertices*/) const {
  return {};
}

DS_SafePtr<ZKW_StripeTracer> ZKW_CurveOffsetMaker::CreateTracer() const {
  return {};
}
