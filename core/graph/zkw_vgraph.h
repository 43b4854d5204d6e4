#pragma once

#include <cstdint>

#include "core/object/ds_iof_item.h"

class MediaParam;

// An envelope y = f(x), normally over x in [0, 1], that scales a quantity along a particle's
// life, along a stripe or over a time window. Graphs are created by class name (the constant
// here, the point-list kinds in geometry/graph) and shared through DS_SafePtr by their holders.
//
// Evaluation is built for sweeps: the caller keeps a cursor between calls with growing x and
// starts it at 1, so that each call resumes the search where the previous one stopped.
class ZKW_VGraph : public DS_IOF_Item {
 public:
  // The base part of every graph record: "ZKW_VGraph", version 1, no fields.
  bool Save(DS_IOF_Archive& archive) const override;

  // A parameter whose changes the graph's holder follows; no kind has one.
  virtual MediaParam* GetChangeParam() { return nullptr; }
  // The registered class name.
  virtual const char* GetClassName() const = 0;
  virtual float MaxValue() const = 0;
  virtual float ValueAt(float x, unsigned* cursor) const = 0;
  // Breakpoint `index` of a point-list envelope; false past the last point.
  virtual bool PointAt(unsigned index, float* x, float* y) const = 0;

 protected:
  ZKW_VGraph() = default;
  ZKW_VGraph(const ZKW_VGraph&) = default;
  ZKW_VGraph& operator=(const ZKW_VGraph&) = default;
};

// The constant envelope 1: the default graph of every holder.
class ZKW_VGraph_Const : public ZKW_VGraph {
 public:
  // "ZKW_VGraph_Const" version 1, then the base part.
  bool Save(DS_IOF_Archive& archive) const override;
  // Only the base header follows (read and dropped).
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  const char* GetClassName() const override { return "ZKW_VGraph_Const"; }
  float MaxValue() const override { return 1.0f; }
  // 1 everywhere; the cursor is not touched.
  float ValueAt(float, unsigned*) const override { return 1.0f; }
  bool PointAt(unsigned, float*, float*) const override { return false; }
};
