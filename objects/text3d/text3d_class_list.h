#pragma once

#include "core/registry/class_registries.h"

// The class list of the text, picture and 3D object library: the kinds a project can hold.
void RegisterObjectsText3dClasses(ClassRegistries& registries);
