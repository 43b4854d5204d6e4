#pragma once

#include "core/registry/class_registries.h"

// The class list of the core library: every archived class of core/ that a registry holds.
void RegisterCoreClasses(ClassRegistries& registries);
