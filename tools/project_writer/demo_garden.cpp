#include "tools/project_writer/demo_garden.h"

#include <memory>

#include "objects/text3d/ds_3d_in_2d_array_constructor.h"
#include "objects/text3d/ds_butterfly_constructor.h"
#include "objects/text3d/ds_clock_constructor.h"
#include "player/scene/ds_slide_container.h"

namespace {

// A file stored inside a drifting-instances record under its file name.
ResourceDataRecord StoredFile(const zkw_string& name, const std::vector<uint8_t>& bytes) {
  ResourceDataRecord record;
  record.path = name;
  record.bytes = bytes;
  return record;
}

}  // namespace

void AddGarden(DS_SlideContainer& slide, const std::vector<uint8_t>& leafMesh,
               const std::vector<uint8_t>& leafPicture) {
  // The renderer draws the slide's objects from the last to the first: the leaves in front.
  if (!leafMesh.empty() && !leafPicture.empty()) {
    auto leaves = std::make_unique<DS_3D_in_2D_array_Constructor>();
    leaves->name = u"Leaves";
    leaves->mesh = StoredFile(u"leaf.x", leafMesh);
    leaves->picture = StoredFile(u"leaf.png", leafPicture);
    leaves->count.SetValue(14);
    leaves->drift.size.SetValue(28);
    leaves->drift.SetDirection(270);  // down
    leaves->drift.speed.SetValue(8);
    leaves->drift.sway.SetValue(30);
    leaves->drift.swayFrequency.SetValue(10);
    leaves->drift.spin.SetValue(30);
    slide.savedObjects.push_back(std::move(leaves));
  }

  auto butterflies = std::make_unique<DS_ButterflyConstructor>();
  butterflies->name = u"Butterflies";
  butterflies->count.SetValue(3);
  butterflies->size.SetValue(70);
  butterflies->picture = DS_ImageFileLink(u"glimres.dll", 69);
  butterflies->left = 0.05f;
  butterflies->right = 0.95f;
  butterflies->top = 0.25f;
  butterflies->bottom = 0.85f;
  slide.savedObjects.push_back(std::move(butterflies));

  auto clock = std::make_unique<DS_ClockConstructor>();
  clock->name = u"Clock";
  // In the top left corner of the part of the picture that the drifting camera always shows.
  clock->size.SetValue(110);
  clock->clockRect.extra1.SetValue(172);  // the centre
  clock->clockRect.extra2.SetValue(111);
  clock->clockRect.xMin.SetValue(117);
  clock->clockRect.xMax.SetValue(227);
  clock->clockRect.yMin.SetValue(56);
  clock->clockRect.yMax.SetValue(166);
  slide.savedObjects.push_back(std::move(clock));
}
