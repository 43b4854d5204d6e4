#pragma once

#include "core/registry/class_registries.h"

// The five texture-source kinds, entered by the player's class list (RegisterPlayerClasses).
void RegisterTextureSourceClasses(ClassRegistries& registries);
