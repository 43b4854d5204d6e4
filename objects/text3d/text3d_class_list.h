#pragma once

#include "core/registry/class_registries.h"

// The class list of the text, picture and 3D object library: every kind of objects/text3d that a
// scene's object registry reads.
void RegisterObjectsText3dClasses(ClassRegistries& registries);
