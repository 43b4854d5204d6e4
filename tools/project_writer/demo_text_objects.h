#pragma once

#include <vector>

#include "tools/project_writer/demo_project.h"

class DS_SlideContainer;
class ProjectBuilder;

// Whether `files` hold the demo's text art.
bool HasTextArt(const std::vector<NamedFile>& files);

// The text objects of the demo project, on a slide of a picture `width` x `height` pixels: a
// flat title that slides in over a plate with a shadow and an animated fill, and a 3D line that
// turns while its glyphs wave along an arc. Their pictures and glyph mesh are the text art the
// build draws (tools/project_writer/demo_text.h names the files), found in `files` by name; a
// missing file leaves out the object it is for. Answers whether both objects are there.
bool AddTextObjects(ProjectBuilder& project, DS_SlideContainer& slide, float width, float height,
                    const std::vector<NamedFile>& files);
