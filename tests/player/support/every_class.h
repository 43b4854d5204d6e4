#pragma once

#include "player/entry/program_class_lists.h"
#include "player/support/probe_object.h"

// The player's tests share one process when run together: every fixture registers the same
// lists, those of every library the test program links and the tests' own probe object.
inline void RegisterEveryClass() {
  RegisterProgramClasses({scene_test::RegisterProbeClasses});
}
