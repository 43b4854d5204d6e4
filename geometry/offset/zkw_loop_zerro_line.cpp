#include "geometry/offset/zkw_loop_zerro_line.h"

#include <cmath>
#include <memory>

#include "geometry/offset/offset_math.h"

void ZKW_LoopZerroLine::SetPoints(unsigned count, OffsetPointSource source) {
  points_.resize(count);
  for (unsigned i = 0; i < count; ++i) {
    const D3DXVECTOR3& p = source(i);
    points_[i] = {p.x, p.y};
  }
  directions_.resize(count);
  lengths_.resize(count);
  cumulative_.assign(1, 0.0f);
  for (unsigned i = 0; i < count; ++i) {
    const D3DXVECTOR2 d = points_[(i + 1) % count] - points_[i];
    const float length = offset_math::Length(d);
    directions_[i] = length > 0.0f ? d / length : d;
    lengths_[i] = length;
    cumulative_.push_back(cumulative_.back() + length);
  }
}

DS_SafePtr<ZKW_StripeTracer> ZKW_LoopZerroLine::CreateTracer() const {
  return DS_SafePtr<ZKW_StripeTracer>(std::make_unique<ZKW_LoopTracer>(this));
}

bool ZKW_LoopTracer::Next(unsigned* state, D3DXVECTOR3* out) const {
  const std::vector<D3DXVECTOR2>& points = loop_->Points();
  const size_t n = points.size();
  if (n == 0 || *state > n) return false;
  const D3DXVECTOR2& p = points[*state % n];
  out->x = p.x;
  out->y = p.y;
  ++*state;
  return true;
}

bool ZKW_LoopTracer::Trace(float length, float /*offset*/, D3DXVECTOR3* point,
                           D3DXVECTOR3* direction) const {
  *point = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  const float perimeter = loop_->ZeroLineLength();
  // Wrapping around a loop without length would divide by it.
  if (!(perimeter > 0.0f)) return false;
  const float a = static_cast<float>(std::fmod(static_cast<double>(length), perimeter));
  // The first running length at or beyond a (none for a NaN).
  const std::vector<float>& cumulative = loop_->Cumulative();
  size_t lo = 0, hi = cumulative.size();
  while (lo < hi) {
    const size_t mid = lo + (hi - lo) / 2;
    if (cumulative[mid] >= a) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  if (lo == cumulative.size()) return false;
  const size_t segment = lo == 0 ? 0 : lo - 1;
  const float local = a - cumulative[segment];
  const D3DXVECTOR2& p = loop_->Points()[segment];
  const D3DXVECTOR2& d = loop_->Directions()[segment];
  *point = {p.x + d.x * local, p.y + d.y * local, 0.0f};
  if (direction != nullptr) *direction = {d.y, -d.x, 0.0f};
  return true;
}
