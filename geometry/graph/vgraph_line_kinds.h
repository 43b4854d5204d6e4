#pragma once

#include <array>
#include <cstdint>

#include "geometry/graph/vgraph_line.h"

// Line envelopes that carry the editor's construction values with them. The values are stored
// and copied but play no part in evaluation: the graph is its point list.

// Six control values of a quadratic Bezier shape (0 by default).
class ZKW_VGraph_QBezier : public ZKW_VGraph_Line {
 public:
  // "ZKW_VGraph_QBezier" version 1, six Float, then the whole "ZKW_VGraph_Line" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Six Float, the line header (dropped), the line body, then the base header (dropped).
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  const char* GetClassName() const override { return "ZKW_VGraph_QBezier"; }

  std::array<float, 6> controls{};
};

// Four values of a gradient-like ramp (0, 1, 1, 0 by default).
class ZKW_VGraph_GradientLine : public ZKW_VGraph_Line {
 public:
  // "ZKW_VGraph_GradientLine" version 1, four Float, then the whole "ZKW_VGraph_Line" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Four Float, the line header (dropped), the line body, then the base header (dropped).
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  const char* GetClassName() const override { return "ZKW_VGraph_GradientLine"; }

  std::array<float, 4> values{0.0f, 1.0f, 1.0f, 0.0f};
};

// The straight line from (0, y0) to (1, y1); by default from (0, 1) to (1, 0).
class ZKW_VGraph_StraightLine : public ZKW_VGraph_Line {
 public:
  ZKW_VGraph_StraightLine() : ZKW_VGraph_StraightLine(1.0f, 0.0f) {}
  ZKW_VGraph_StraightLine(float y0, float y1) : ZKW_VGraph_Line({{0.0f, y0}, {1.0f, y1}}) {}

  // "ZKW_VGraph_StraightLine" version 1, then the line body directly (no line header in
  // between), then the base part.
  bool Save(DS_IOF_Archive& archive) const override;
  // The line body, then the base header (dropped).
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  const char* GetClassName() const override { return "ZKW_VGraph_StraightLine"; }
};
