#pragma once

#include "core/registry/class_registries.h"

// The renderers library's class list: the slide renderers and their entries of the scene
// services.
void RegisterRendererClasses(ClassRegistries& registries);
