#include "core/timing/timing_registry.h"

#include "core/registry/read_by_name.h"

std::unique_ptr<ZKW_Timing> CreateTimingByName(const zkw_string& name) {
  return CreateByName(GetTimingRegistry(), name);
}

std::unique_ptr<ZKW_Timing> ReadTiming(DS_IOF_Archive& archive) {
  return ReadByName(archive, GetTimingRegistry());
}
