#pragma once

#include <memory>

#include "core/archive/ds_iof_archive.h"
#include "core/graph/zkw_vgraph.h"

// A graph record read by class name through the graph registry; null for a class the registry
// does not hold (the stream is failed then, see ReadByName).
std::unique_ptr<ZKW_VGraph> ReadVGraph(DS_IOF_Archive& archive);

// A new default graph of the class named in UTF-8, or null when no graph class is registered
// under it. Invalid UTF-8 raises std::range_error.
std::unique_ptr<ZKW_VGraph> CreateGraphByName(const char* utf8Name);
