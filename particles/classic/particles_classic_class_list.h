#pragma once

#include "core/registry/class_registries.h"

// The classic particle controls: bursts, fountains and the ready-made fountains.
void RegisterParticlesClassicClasses(ClassRegistries& r);
