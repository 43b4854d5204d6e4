#pragma once

#include "core/registry/class_registries.h"

// The class list of the brush library: every brush kind of fx/ that a scene's object registry
// reads.
void RegisterFxClasses(ClassRegistries& registries);
