#pragma once

#include "plugin/candidate_index.h"
#include "plugin/scan_context.h"

namespace unreal {

// Each scanner walks the input from position 0 and reports what it finds through the context.
void ScanUe3(ScanContext& context, CandidateIndex& candidates);
void ScanUe4(ScanContext& context, CandidateIndex& candidates);
void ScanUe5(ScanContext& context, CandidateIndex& candidates);

// Runs the enabled scanners in codec order.
void ScanAll(ScanContext& context);

}  // namespace unreal
