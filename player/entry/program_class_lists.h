#pragma once

#include <initializer_list>
#include <vector>

#include "core/registry/class_registries.h"
#include "core/registry/core_class_list.h"
#include "fx/fx_class_list.h"
#include "geometry/geometry_class_list.h"
#include "objects/sprites/sprites_class_list.h"
#include "objects/text3d/text3d_class_list.h"
#include "particles/behaviour/behaviour_class_list.h"
#include "particles/classic/particles_classic_class_list.h"
#include "particles/tree/tree_class_list.h"
#include "player/player_class_list.h"
#include "renderers/renderers_class_list.h"

// The class lists of every library the program links, in one place: the player's start-up, the
// tools that write projects, and the tests and fuzz targets that load whole projects all register
// exactly these. A library that gains a class list adds it here.
inline constexpr ClassList kProgramClassLists[] = {
    RegisterCoreClasses,
    RegisterGeometryClasses,
    RegisterParticlesBehaviourClasses,
    RegisterParticlesClassicClasses,
    RegisterParticlesTreeClasses,
    RegisterPlayerClasses,
    RegisterRendererClasses,
    RegisterFxClasses,
    RegisterObjectsSpritesClasses,
    RegisterObjectsText3dClasses,
};

// Fills and seals the registries with the program's lists plus any `extra` ones (tests' own kinds).
inline void RegisterProgramClasses(std::initializer_list<ClassList> extra = {}) {
  std::vector<ClassList> lists(std::begin(kProgramClassLists), std::end(kProgramClassLists));
  lists.insert(lists.end(), extra.begin(), extra.end());
  RegisterClasses(lists);
}
