#pragma once

#include "core/registry/class_registries.h"

// The class list of the geometry library: every archived class of geometry/ that a registry
// holds.
void RegisterGeometryClasses(ClassRegistries& registries);
