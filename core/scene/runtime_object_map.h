#pragma once

#include <map>

#include "core/guid.h"

class DS_ABObj;

// Orders GUIDs by their 16 stored bytes compared as unsigned bytes from the first (the fields
// are little-endian, so this is not the order of the field values).
struct GuidByteOrder {
  bool operator()(const GUID& a, const GUID& b) const;
};

// The process-wide map from GUID to live run-time object, through which objects find each other
// (group links, dependent timelines, brushes that copy another object's picture). It does not own
// the objects: every DS_ABObj made from a description enters itself and leaves when destroyed.
// Main thread only.
using RuntimeObjectMap = std::map<GUID, DS_ABObj*, GuidByteOrder>;

// The map; null once it has been destroyed at process exit, so that objects destroyed later
// leave it alone.
RuntimeObjectMap* GetRuntimeObjectMap();

// The live object under `guid`, or null (also for the zero GUID when nothing holds it).
DS_ABObj* FindRuntimeObject(const GUID& guid);
