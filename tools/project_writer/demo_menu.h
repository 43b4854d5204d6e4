#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "core/link/ds_file_link.h"
#include "tools/project_writer/demo_project.h"

class ProjectBuilder;

// Whether `files` hold the menu's text art.
bool HasMenuArt(const std::vector<NamedFile>& files);

// Appends the menu slide on `background` (a picture of `width` x `height` pixels): a quad text
// title with a shadow, a quad text line scrolling across, a sprite text ticker scrolling the
// other way and a text link to each of the slides `targets` (the first a sprite link, the others
// quad links), each of which gets a quad link back to the menu. Its pictures are the menu's text
// art (tools/project_writer/demo_text.h names the files), the sprite texts' stored under their
// GUIDs. Nothing without the art.
void AddMenuSlide(ProjectBuilder& project, const DS_ImageFileLink& background, float width,
                  float height, const std::array<size_t, 3>& targets,
                  const std::vector<NamedFile>& files);
