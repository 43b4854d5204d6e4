#pragma once

#include "core/registry/class_registries.h"

// The class list of the text and 3D object library: every kind of objects/text3d that a scene's
// object registry reads.
void RegisterText3dClasses(ClassRegistries& registries);
