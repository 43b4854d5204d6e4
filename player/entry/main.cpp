// The scene player: plays the project file named by its first argument full screen, or its own
// project in a window. Any key closes it.
#include "core/registry/class_registries.h"
#include "core/registry/core_class_list.h"
#include "geometry/geometry_class_list.h"
#include "particles/behaviour/behaviour_class_list.h"
#include "player/player_class_list.h"
#include "player/shell/player_window.h"
#include "renderers/renderers_class_list.h"

int main(int argc, char** argv) {
  RegisterClasses({RegisterCoreClasses, RegisterGeometryClasses, RegisterParticlesBehaviourClasses,
                   RegisterPlayerClasses, RegisterRendererClasses});
  return RunPlayer(argc, argv);
}
