#include "particles/behaviour/behaviour_class_list.h"

// One line per class, in the form of core/registry/core_class_list.cpp. The parameter blocks
// here are stored inline in their owners' records and have no entry; the sources, physics,
// effects and motion laws register here.
void RegisterParticlesBehaviourClasses(ClassRegistries& /*registries*/) {}
