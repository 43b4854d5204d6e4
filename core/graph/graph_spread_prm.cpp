#include "core/graph/graph_spread_prm.h"

#include <utility>

#include "core/graph/vgraph_registry.h"

void ReadGraphSpreadPrm(DS_IOF_Archive& archive, GraphSpreadPrm& param) {
  if (std::unique_ptr<ZKW_VGraph> graph = ReadVGraph(archive)) {
    param.envelope.SetGraph(DS_SafePtr<ZKW_VGraph>(std::move(graph)));
  }
  ReadValueSpread(archive, param);
}

void WriteGraphSpreadPrm(DS_IOF_Archive& archive, const GraphSpreadPrm& param) {
  if (const ZKW_VGraph* graph = param.envelope.Graph()) {
    graph->Save(archive);
  } else {
    ZKW_VGraph_Const().Save(archive);
  }
  WriteValueSpread(archive, param);
}
