#pragma once

#include <functional>
#include <vector>

#include "core/param/media_param.h"
#include "core/param/smart_points.h"
#include "geometry/curve/curve_cursor.h"
#include "geometry/curve/curve_sample.h"
#include "platform/math/d3dx_types.h"

class MediaControl;
class ZKW_CurveOffsetMaker;

// The base of every curve (smart curves and stripes, motion paths): a parameter that owners and
// controls can watch, whose subclass keeps the control points and whose base keeps only a dense
// sample list. Every geometric question is answered from the samples: length, point and
// direction at an arc length, closest point. The subclass's Tessellate builds the samples from
// the control points; whoever changes the points calls Rebuild afterwards. Until then the queries
// answer from the previous list.
//
// Curves lie in the XY plane; "right" of a direction (dx, dy) is (dy, -dx).
class ZKW_Curve : public MediaParam {
 public:
  ZKW_Curve() = default;
  ZKW_Curve(const ZKW_Curve&) = default;
  ZKW_Curve& operator=(const ZKW_Curve&) = delete;

  // The subclass's control points.
  virtual int GetCount() const = 0;
  virtual void EraseAt(int index, MediaControl* source) = 0;
  virtual DX_SmartPnt* ControlPointAt(int index) = 0;
  // Stores a new point made from `point` and answers it.
  virtual DX_SmartPnt* AppendPoint(const DX_SmartPnt& point, MediaControl* source) = 0;
  virtual DX_SmartPnt* InsertPoint(int index, const DX_SmartPnt& point, MediaControl* source) = 0;

  // The point of the sample polyline closest to `point` (3-D distance; on a tie the earlier
  // segment wins) and that segment's chord divided by its length (zero for a segment of zero
  // length). Fewer than two samples: false, outputs (each may be null) untouched.
  virtual bool ClosestPoint(const D3DXVECTOR3& point, D3DXVECTOR3* closest,
                            D3DXVECTOR3* tangent) const;
  // The cumulative length of the second-to-last sample; 0 with fewer than two samples.
  virtual float TotalLength() const;
  // CurveCursor::SeekLength on a fresh cursor over the curve's samples.
  virtual bool PointAtLength(float length, float offset, D3DXVECTOR3* point,
                             D3DXVECTOR3* direction) const;
  // The normalised chord of the segment holding `length` (the last one beyond the end); false
  // below 0 or with fewer than two samples.
  virtual bool DirectionAtLength(float length, D3DXVECTOR3* direction) const;
  // Replaces the samples by what Tessellate builds with the curve's samples-per-segment value.
  // Nothing is notified.
  virtual void Rebuild();
  // Builds a new sample list into `out` without touching the curve; nothing here.
  virtual void Tessellate(std::vector<CurveSample>& out, int samplesPerSegment);
  // (position(i - 1), position(i)) for every segment of the samples.
  virtual void ForEachSegment(
      std::function<void(const D3DXVECTOR3& from, const D3DXVECTOR3& to)> visit) const;
  // (start, end) arc lengths of every segment of the samples.
  virtual void ForEachLength(std::function<void(const float& start, const float& end)> visit) const;
  // The stripe's offsetter; none here.
  virtual ZKW_CurveOffsetMaker* GetOffsetMaker() { return nullptr; }
  virtual const ZKW_CurveOffsetMaker* GetOffsetMaker() const { return nullptr; }

  const std::vector<CurveSample>& Samples() const { return samples_; }
  // A cursor at the start of the samples.
  CurveCursor Cursor() const { return CurveCursor(&samples_); }

  int samplesPerSegment = 20;

 protected:
  std::vector<CurveSample>& MutableSamples() { return samples_; }

 private:
  std::vector<CurveSample> samples_;
};
