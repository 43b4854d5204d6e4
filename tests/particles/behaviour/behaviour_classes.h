#pragma once

#include "core/registry/core_class_list.h"
#include "geometry/geometry_class_list.h"
#include "particles/behaviour/behaviour_class_list.h"

// Every fixture of this program registers the same lists: the registries are sealed after the
// first call.
inline void RegisterBehaviourTestClasses() {
  RegisterClasses(
      {RegisterCoreClasses, RegisterGeometryClasses, RegisterParticlesBehaviourClasses});
}
