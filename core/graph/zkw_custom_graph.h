#pragma once

#include "core/ds_safe_ptr.h"
#include "core/graph/zkw_vgraph.h"
#include "core/param/callback_ctrl.h"
#include "core/param/media_param_t.h"

// The undoable holder of an envelope graph, shared through its handle. It always holds a graph:
// the constant 1 from construction on. A callback control follows the graph's own change
// parameter and passes its changes on as changes of the holder (no kind has one today).
class ZKW_CustomGraph : public MediaParamT<DS_SafePtr<ZKW_VGraph>> {
 public:
  ZKW_CustomGraph();
  // Shares the other's graph; fresh observers and undo control.
  ZKW_CustomGraph(const ZKW_CustomGraph& other);
  ZKW_CustomGraph& operator=(const ZKW_CustomGraph&) = delete;

  // Installs `graph` with SetValue (the observers are told when the target changes) and moves
  // the callback control to the new graph's change parameter. An empty handle is ignored, so the
  // holder keeps the graph it has.
  void SetGraph(const DS_SafePtr<ZKW_VGraph>& graph, MediaControl* source = nullptr);

  ZKW_VGraph* Graph() const { return Value().Get(); }
  // The graph's value at x (1 without a graph, as the constant graph answers).
  float ValueAt(float x, unsigned* cursor) const {
    const ZKW_VGraph* graph = Graph();
    return graph != nullptr ? graph->ValueAt(x, cursor) : 1.0f;
  }

 private:
  void OnGraphChanged() { NotifyChanged(nullptr); }

  ZKW_SmartCalbackCtrl<ZKW_CustomGraph> graphWatch_{&ZKW_CustomGraph::OnGraphChanged, this};
};
