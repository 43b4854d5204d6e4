#include "geometry/graph/vgraph_line.h"

#include <algorithm>

bool ZKW_VGraph_Line::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VGraph_Line", 1);
  WriteLineBody(archive);
  return ZKW_VGraph::Save(archive);
}

void ZKW_VGraph_Line::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  ReadLineBody(archive);
  ReadBaseHeader(archive);
}

void ZKW_VGraph_Line::WriteLineBody(DS_IOF_Archive& archive) const {
  DS_IOF_Virtual& io = archive.io();
  io.WriteDword(static_cast<uint32_t>(points_.size()));
  for (const auto& [x, y] : points_) {
    io.WriteFloat(x);
    io.WriteFloat(y);
  }
}

void ZKW_VGraph_Line::ReadLineBody(DS_IOF_Archive& archive) {
  constexpr uint64_t kPointBytes = 8;
  DS_IOF_Virtual& io = archive.io();
  uint32_t count = 0;
  io.ReadDword(count);
  points_.clear();
  if (!io.CountFits(count, kPointBytes)) {
    return;
  }
  points_.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    Point point{};
    io.ReadFloat(point.first);
    io.ReadFloat(point.second);
    points_.push_back(point);
  }
}

float ZKW_VGraph_Line::MaxValue() const {
  float best = 0.0f;
  for (const auto& point : points_)
    best = std::max(best, point.second);
  return best;
}

float ZKW_VGraph_Line::ValueAt(float x, unsigned* cursor) const {
  unsigned start = 1;
  if (cursor == nullptr) cursor = &start;
  if (*cursor < 1) *cursor = 1;
  for (unsigned i = *cursor; i < points_.size(); *cursor = ++i) {
    const auto [xa, ya] = points_[i];
    const auto [xb, yb] = points_[i - 1];
    if (xa != xb && x <= xa) return yb + (x - xb) / (xa - xb) * (ya - yb);
  }
  return 0.0f;
}

bool ZKW_VGraph_Line::PointAt(unsigned index, float* x, float* y) const {
  if (index >= points_.size()) return false;
  *x = points_[index].first;
  *y = points_[index].second;
  return true;
}
