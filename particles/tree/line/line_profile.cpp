#include "particles/tree/line/line_profile.h"

#include <algorithm>

#include "core/crt_rand.h"

namespace {

// f + r x (1 - f) for a fresh random number r: a spread factor that only lowers a value.
float SpreadFactor(float f) {
  return f + crt_rand_unit() * (1.0f - f);
}

// The envelope's value at x, its search started afresh.
float EnvelopeAt(const GraphSpreadPrm& param, float x) {
  unsigned cursor = 1;
  return param.envelope.ValueAt(x, &cursor);
}

// The breakpoints of an envelope from index 1 on, one at a time.
class Breakpoints {
 public:
  explicit Breakpoints(const GraphSpreadPrm& param) : graph_(param.envelope.Graph()) { Next(); }
  bool Valid() const { return valid_; }
  float X() const { return x_; }
  float Y() const { return y_; }
  void Next() { valid_ = graph_ != nullptr && graph_->PointAt(index_++, &x_, &y_); }

 private:
  const ZKW_VGraph* graph_;
  unsigned index_ = 1;
  bool valid_ = false;
  float x_ = 0, y_ = 0;
};

}  // namespace

void LineProfile::AppendSegment(const ZKW_StraightWidehtLine& segment) {
  const float length = static_cast<float>(segment.Length());
  const float w = segment.width.value.Scaled(), o = segment.opacity.value.Scaled();
  const float sw = segment.width.spread.Scaled(), so = segment.opacity.spread.Scaled();

  ProfilePoint start;
  start.position = D3DXVECTOR3(totalLength, 0, 0);
  start.s = 0;
  start.distance = totalLength;
  // The point at fraction x of the segment, with the start's sides and colour.
  const auto at = [&](float x) {
    ProfilePoint p = start;
    p.position.x = totalLength + length * x;
    p.s = x;
    p.distance = p.position.x;
    return p;
  };

  start.width = w * EnvelopeAt(segment.width, 0);
  start.opacity = o * EnvelopeAt(segment.opacity, 0);
  points.push_back(start);

  Breakpoints widths(segment.width), opacities(segment.opacity);
  const auto appendOpacityPoints = [&](float before) {
    for (; opacities.Valid() && opacities.X() < before; opacities.Next()) {
      ProfilePoint p = at(opacities.X());
      p.opacity = opacities.Y() * o;
      p.width = w * SpreadFactor(sw) * EnvelopeAt(segment.width, opacities.X());
      points.push_back(p);
    }
  };
  for (; widths.Valid() && widths.X() < 1.0f; widths.Next()) {
    appendOpacityPoints(widths.X());
    ProfilePoint p = at(widths.X());
    p.width = widths.Y() * w;
    p.opacity = o * SpreadFactor(so) * EnvelopeAt(segment.opacity, widths.X());
    points.push_back(p);
  }
  appendOpacityPoints(1.0f);

  ProfilePoint end = at(1.0f);
  end.width = w * SpreadFactor(sw) * EnvelopeAt(segment.width, 1.0f);
  end.opacity = o * SpreadFactor(so) * EnvelopeAt(segment.opacity, 1.0f);
  points.push_back(end);
  totalLength += length;
}

ProfilePoint InterpolateProfilePoint(const ProfilePoint& a, const ProfilePoint& b, float c) {
  const float span = b.position.x - a.position.x;
  const float k = span != 0.0f ? (c - a.position.x) / span : 1.0f;
  const auto lerp = [k](float from, float to) { return from + (to - from) * k; };
  ProfilePoint p = a;
  p.position = D3DXVECTOR3(c, lerp(a.position.y, b.position.y), lerp(a.position.z, b.position.z));
  p.distance = lerp(a.distance, b.distance);
  p.width = lerp(a.width, b.width);
  p.r = lerp(a.r, b.r);
  p.g = lerp(a.g, b.g);
  p.b = lerp(a.b, b.b);
  p.opacity = lerp(a.opacity, b.opacity);
  return p;
}

void ClipProfile(const std::vector<ProfilePoint>& profile, float totalLength, int mode, float sx,
                 std::vector<ProfilePoint>& out) {
  out.clear();
  if (mode == static_cast<int>(LineClipMode::kWhole)) {
    out = profile;
    return;
  }
  float lower = 0, upper = totalLength, shift = 0;
  if (mode == static_cast<int>(LineClipMode::kGrow)) {
    upper = sx * totalLength;
    lower = std::max(0.0f, (sx - 1.0f) * totalLength);
  } else if (mode == static_cast<int>(LineClipMode::kSlide)) {
    shift = (sx - 1.0f) * totalLength;
  }
  const auto shifted = [shift](ProfilePoint p) {
    p.position.x += shift;
    return p;
  };
  for (size_t i = 0; i < profile.size(); ++i) {
    const ProfilePoint p = shifted(profile[i]);
    const float t = p.position.x;
    if (t > upper) {
      if (!out.empty()) out.push_back(InterpolateProfilePoint(out.back(), p, upper));
      return;
    }
    if (t >= lower) {
      if (out.empty() && i > 0)
        out.push_back(InterpolateProfilePoint(shifted(profile[i - 1]), p, lower));
      out.push_back(p);
    }
  }
}
