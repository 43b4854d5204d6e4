#include "core/graph/vgraph_registry.h"

#include "core/registry/read_by_name.h"

std::unique_ptr<ZKW_VGraph> ReadVGraph(DS_IOF_Archive& archive) {
  return ReadByName(archive, GetVGraphRegistry());
}

std::unique_ptr<ZKW_VGraph> CreateGraphByName(const char* utf8Name) {
  return CreateByName(GetVGraphRegistry(), Utf8ToWString(utf8Name));
}
