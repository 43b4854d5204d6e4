#pragma once

#include <functional>

#include "geometry/offset/zkw_curve_offset_maker.h"
#include "platform/math/d3dx_types.h"

// How the offset curve kinds answer through their offsetter (null: as an empty curve).

// The offsetter's zero-line length.
float OffsetterLength(const ZKW_CurveOffsetMaker* offsetter);
// Trace of a fresh tracer; false without an offsetter or a tracer.
bool TraceOffsetter(const ZKW_CurveOffsetMaker* offsetter, float length, float offset,
                    D3DXVECTOR3* point, D3DXVECTOR3* direction);
// (previous, this) for each pair of consecutive zero-line vertices of a fresh tracer.
void ForEachTracedSegment(
    const ZKW_CurveOffsetMaker* offsetter,
    const std::function<void(const D3DXVECTOR3& from, const D3DXVECTOR3& to)>& visit);
