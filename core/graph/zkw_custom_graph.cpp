#include "core/graph/zkw_custom_graph.h"

#include <memory>

ZKW_CustomGraph::ZKW_CustomGraph() {
  SetGraph(DS_SafePtr<ZKW_VGraph>(std::make_unique<ZKW_VGraph_Const>()));
}

ZKW_CustomGraph::ZKW_CustomGraph(const ZKW_CustomGraph& other)
    : MediaParamT<DS_SafePtr<ZKW_VGraph>>(other) {
  if (ZKW_VGraph* graph = Graph()) graphWatch_.Watch(graph->GetChangeParam());
}

void ZKW_CustomGraph::SetGraph(const DS_SafePtr<ZKW_VGraph>& graph, MediaControl* source) {
  if (!graph) return;
  graphWatch_.Watch(graph->GetChangeParam());
  SetValue(graph, source);
}
