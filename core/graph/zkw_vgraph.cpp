#include "core/graph/zkw_vgraph.h"

bool ZKW_VGraph::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VGraph", 1);
  return true;
}

bool ZKW_VGraph_Const::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VGraph_Const", 1);
  return ZKW_VGraph::Save(archive);
}

void ZKW_VGraph_Const::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  ReadBaseHeader(archive);
}
