#pragma once

#include "core/registry/class_registries.h"

// The class list of the sprite library: the sprite preset kinds a project can hold.
void RegisterObjectsSpritesClasses(ClassRegistries& registries);
