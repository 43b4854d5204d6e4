#pragma once

#include "core/registry/class_registries.h"

// The player library's class list: its archived classes and its entries of the scene services.
void RegisterPlayerClasses(ClassRegistries& registries);
