#pragma once

#include <vector>

#include "tools/project_writer/demo_project.h"

class DS_SlideContainer;
class ProjectBuilder;

// The sprite presets of the demo project, put on slides the demo has made. Their pictures come
// from `pictures` by file name ("fish.png", "drop.png", ...), stored in the project when first
// used; a picture missing leaves its preset on a picture of the player's own.

// Over the sea: fish swimming below the horizon, ghosts haunting the sky and fog drifting along
// the horizon.
void AddSeaCreatures(ProjectBuilder& project, DS_SlideContainer& slide,
                     const std::vector<NamedFile>& pictures);

// Over the dawn: birds flying, rain falling and lights flashing in the sky.
void AddDawnWeather(ProjectBuilder& project, DS_SlideContainer& slide,
                    const std::vector<NamedFile>& pictures);

// Over the dawn: grass along the foot of the hills, flowers and a tree standing on them, a
// discharge crackling in the sky and an explosion bursting now and then on a random timeline.
void AddDawnMeadow(ProjectBuilder& project, DS_SlideContainer& slide,
                   const std::vector<NamedFile>& pictures);
