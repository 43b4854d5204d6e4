#pragma once

#include "core/registry/class_registries.h"

// The class list of the particle-behaviour library: every archived class of particles/behaviour
// that a registry holds.
void RegisterParticlesBehaviourClasses(ClassRegistries& registries);
