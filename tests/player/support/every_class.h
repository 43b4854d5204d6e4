#pragma once

#include "core/registry/class_registries.h"
#include "core/registry/core_class_list.h"
#include "geometry/geometry_class_list.h"
#include "particles/behaviour/behaviour_class_list.h"
#include "player/player_class_list.h"
#include "player/support/probe_object.h"
#include "renderers/renderers_class_list.h"

// The player's tests share one process when run together: every fixture registers the same
// lists, those of every library the test program links and the tests' own probe object.
inline void RegisterEveryClass() {
  RegisterClasses({RegisterCoreClasses, RegisterGeometryClasses, RegisterParticlesBehaviourClasses,
                   RegisterPlayerClasses, RegisterRendererClasses,
                   scene_test::RegisterProbeClasses});
}
