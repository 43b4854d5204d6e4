#pragma once

#include <memory>

#include "core/archive/ds_iof_archive.h"
#include "core/timing/zkw_timing.h"
#include "core/zkw_string.h"

// A new default timeline of the class registered under exactly `name` in the timeline registry,
// or null.
std::unique_ptr<ZKW_Timing> CreateTimingByName(const zkw_string& name);

// A timeline record read by class name through the timeline registry; null for a class the
// registry does not hold (the stream is failed then, see ReadByName).
std::unique_ptr<ZKW_Timing> ReadTiming(DS_IOF_Archive& archive);
