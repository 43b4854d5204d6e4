#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/ds_safe_ptr.h"
#include "core/object/ds_iof_item.h"
#include "core/param/media_param_t.h"
#include "core/scene/ds_abobj_constructor.h"
#include "core/zkw_string.h"

class DS_2D_Light;

// One slide of a scene: its timing (fade-in, hold, fade-out, whether it ends by itself), its
// renderer, made by class name, through which everything on the slide draws, and its scene
// objects. A slide is read in its saved form (object descriptions); Start turns those into
// run-time objects once, before playback. The scene root decides when the slide shows.
class DS_SlideContainer : public DS_IOF_Item {
 public:
  static constexpr uint32_t kVersion = 6;
  // The value of `mode` with which a slide stays until a jump leaves it.
  static constexpr int kStays = 1;

  DS_SlideContainer();
  ~DS_SlideContainer() override;
  DS_SlideContainer(const DS_SlideContainer&) = delete;
  DS_SlideContainer& operator=(const DS_SlideContainer&) = delete;

  // "DS_SlideContainer" version 6: timing, setting, name, the renderer's record, the object
  // descriptions (those not started yet, then those of the run-time objects) and the extra ones.
  bool Save(DS_IOF_Archive& archive) const override;
  // The device was lost: the objects' descriptions and the renderer drop their device objects.
  virtual void OnLostDevice();

  // Any version: 1 to 4 store whole seconds as UInt32 and no mode, 1 has no extra list, 3 to 5
  // carry a period (version 3 in seconds) that the objects' timelines take; a newer version
  // reads as 6.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Once, before playback: the renderer makes its device objects, and the saved descriptions
  // make the run-time objects (those with the same GUID share one) and are deleted.
  void Start();
  // Background, then `objects` from the last to the first, through the renderer.
  void RenderPass(const RuntimeObjectList& objects, int arg);
  void SetFitMode(int mode);
  // The extra objects, then the objects.
  void SetObjectsActive(bool active);

  // Whether the scene can show the slide: it has a renderer.
  bool Playable() const { return renderer.Get() != nullptr; }

  MediaParamT<int> mode{0};
  MediaParamT<float> fadeIn{1.0f};
  MediaParamT<float> fadeOut{1.0f};
  MediaParamT<float> hold{10.0f};
  // Kept and written back; the player gives it no meaning.
  MediaParamT<int> slideSetting{0};
  MediaParamTB<zkw_string> name;
  DS_SafePtr<DS_2D_Light> renderer;
  // Drawn, updated and asked on hover and click.
  RuntimeObjectList objects;
  // Updated and activated with the slide, never drawn by it.
  RuntimeObjectList extraObjects;
  std::vector<std::unique_ptr<DS_ABObj_Constructor>> savedObjects;
  std::vector<std::unique_ptr<DS_ABObj_Constructor>> savedExtraObjects;
};
