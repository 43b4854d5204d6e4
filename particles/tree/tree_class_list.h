#pragma once

#include "core/registry/class_registries.h"

// The class list of the node-tree library: its nodes and its scene objects.
void RegisterParticlesTreeClasses(ClassRegistries& registries);
