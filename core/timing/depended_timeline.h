#pragma once

#include "core/guid.h"
#include "core/param/callback_ctrl.h"
#include "core/param/media_param_t.h"
#include "core/timing/random_timeline_params.h"
#include "core/timing/zkw_timing.h"

// A timeline that follows the timeline of another object, its master, named by GUID and found
// among the live run-time objects when the slide binds its objects (or when the GUID changes).
//
// Mode 0 mirrors the master's current timeline (state and value). Mode 1 starts a run of its own
// each time the master leaves the hidden state: after a random delay it fades in, stays shown for
// a random time and fades out, with the durations of its parameters; a master that leaves hidden
// again during a run starts no second run. Without a master it is hidden with value 0 and Step
// does nothing.
//
// The master's timing part is borrowed, not owned: masters are run-time objects of the same scene
// and live as long as the objects that follow them. The master's current timeline is taken
// afresh at every call, so a change of the master's kind is followed. A chain of mirrors that
// leads back to itself answers hidden with value 0 instead of recursing.
class ZKW_DependedTimeLine : public ZKW_Timing {
 public:
  ZKW_DependedTimeLine();
  ~ZKW_DependedTimeLine() override;

  // "ZKW_DependedTimeLine" version 2: master GUID (text), Int32 mode, the six durations as
  // UInt32, then the base record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The master GUID straight into its value (resolved at Bind); version 1 has nothing more (mode
  // 0); otherwise Int32 mode and the durations (RandomTimeLineParams::Read); the base header.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  void Bind() override { ResolveMaster(); }
  // Mode 1 only, with a master: records t, ends a run once t passes its end, or starts one when
  // the master has just left the hidden state (the delay is drawn first, then the shown time).
  float Step(float t) override;
  float GetValue() const override;
  TimingState GetState() const override;

  // Finds the master's timing part through the run-time object map (none when the map does not
  // hold the GUID); then no run is active and the master counts as hidden.
  void ResolveMaster();

  MediaParamT<GUID> master;
  MediaParamT<int> mode{0};           // 0 mirror, 1 own run
  RandomTimeLineParams params{0, 0};  // first pair: the delay before a run

  // The times of the last run started, in the time given to Step.
  struct Run {
    float fadeInStart, shownStart, fadeOutStart, end;
  };
  Run LastRun() const { return {fadeInStart_, shownStart_, fadeOutStart_, end_}; }
  bool RunActive() const { return runActive_; }
  const ZKW_SmartTiming* MasterTiming() const { return masterTiming_; }

 private:
  // The master's current timeline, or null.
  ZKW_Timing* MasterCurrent() const;

  bool runActive_ = false;
  // Times of the run, in the time given to Step.
  float fadeInStart_ = 0.0f;
  float shownStart_ = 0.0f;
  float fadeOutStart_ = 0.0f;
  float end_ = 0.0f;
  float lastTime_ = 0.0f;
  ZKW_SmartTiming* masterTiming_ = nullptr;
  TimingState previousMasterState_ = TimingState::Hidden;
  mutable bool following_ = false;  // set while a mirror call is asking the master
  SmartCalbackCtrl<ZKW_DependedTimeLine> masterWatch_{&ZKW_DependedTimeLine::ResolveMaster, this,
                                                      &master};
};
