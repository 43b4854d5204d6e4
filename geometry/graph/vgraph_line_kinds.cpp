#include "geometry/graph/vgraph_line_kinds.h"

namespace {

template <size_t N>
void WriteFloats(DS_IOF_Archive& archive, const std::array<float, N>& values) {
  for (float v : values)
    archive.io().WriteFloat(v);
}

template <size_t N>
void ReadFloats(DS_IOF_Archive& archive, std::array<float, N>& values) {
  for (float& v : values)
    archive.io().ReadFloat(v);
}

}  // namespace

bool ZKW_VGraph_QBezier::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VGraph_QBezier", 1);
  WriteFloats(archive, controls);
  return ZKW_VGraph_Line::Save(archive);
}

void ZKW_VGraph_QBezier::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  ReadFloats(archive, controls);
  ZKW_VGraph_Line::ReadBody(archive, ReadBaseHeader(archive));
}

bool ZKW_VGraph_GradientLine::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VGraph_GradientLine", 1);
  WriteFloats(archive, values);
  return ZKW_VGraph_Line::Save(archive);
}

void ZKW_VGraph_GradientLine::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  ReadFloats(archive, values);
  ZKW_VGraph_Line::ReadBody(archive, ReadBaseHeader(archive));
}

bool ZKW_VGraph_StraightLine::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VGraph_StraightLine", 1);
  WriteLineBody(archive);
  return ZKW_VGraph::Save(archive);
}

void ZKW_VGraph_StraightLine::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  ReadLineBody(archive);
  ReadBaseHeader(archive);
}
