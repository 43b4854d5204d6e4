#pragma once

#include "core/registry/class_registries.h"

// The classic particle controls: bursts, fountains and the ready-made fountains, and the
// ready-made systems (through-space, field, Brownian, firefly, single objects, splashes and
// sprays, streams, vortex, rain on glass, rays of light).
void RegisterParticlesClassicClasses(ClassRegistries& r);
