#pragma once

#include <cstdint>

#include "core/chrono/zkw_chrono_ctrl.h"
#include "core/graph/graph_spread_prm.h"
#include "core/param/media_param_t.h"

enum class ChronoPhase : int32_t { Active = 0, Pause = 1 };

// Windows laid from clock time 0: active for `activeLength` seconds (the envelope over the
// window times the amplitude), then paused for `pauseLength` seconds (0), and so on, each
// boundary the previous one plus a length, so the windows do not drift. A time exactly on a
// boundary belongs to the next phase. Disabled, or with both lengths 0, the value is 1.
class ZKW_Chrono_Default : public ZKW_ChronoCtrl {
 public:
  ZKW_Chrono_Default() = default;

  // "ZKW_Chrono_Default" version 1: Int32 enabled, Float active length, Float pause length, the
  // envelope's graph record, UInt32 amplitude percent, UInt32 spread percent, then the base part.
  bool Save(DS_IOF_Archive& archive) const override;
  // The same fields: the first three stored straight, the amplitude as ReadGraphSpreadPrm reads
  // it, then the base header (dropped).
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  const char* GetClassName() const override { return "ZKW_Chrono_Default"; }
  void Restart() override;
  // Lengths that are not finite and positive count as 0, and a walk over very many boundaries
  // jumps whole cycles at once, so that no length and no time can keep it from ending. A time
  // that is not finite changes nothing and gives 1.
  float GetValue(float t) override;

  float Boundary() const { return boundary_; }
  ChronoPhase Phase() const { return phase_; }

  MediaParamT<int> enabled{0};
  ZKW_MediaFloat activeLength{1.0f};
  ZKW_MediaFloat pauseLength{1.0f};
  // Percent with factor 0.01 (100 by default: 1.0), spread percent, envelope (constant 1).
  GraphSpreadPrm amplitude{100, 0.01f};

 private:
  float boundary_ = 0.0f;  // clock time at which the current phase ends
  ChronoPhase phase_ = ChronoPhase::Pause;
};
