#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/com_ref.h"
#include "core/guid.h"
#include "core/link/ds_file_link.h"
#include "core/param/media_param_t.h"
#include "core/param/media_quad.h"
#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "core/scene/ds_abobj_constructor.h"
#include "core/scene/zkw_render_obj.h"
#include "core/zkw_string.h"
#include "platform/gfx/effect/effect.h"
#include "platform/gfx/texture.h"
#include "platform/math/d3dx_types.h"
#include "player/render/warp_grid_mesh.h"

class DS_2D_Light;

// The saved form of a brush: a scene object that redraws the picture drawn so far in its slide
// through an effect, once per frame, limited by a mask picture. It carries what every brush
// shares (speed and its clock, mode, effect link, scale, angle, mask quad and mask picture), the
// binders that set the shared effect parameters and draw through the slide renderer (the
// brush's canvas), and the periodic wave the kinds swing with. Kinds add their own parameters,
// Draw and Clone. Its run-time object is a DS_BrushObj that owns a prepared copy; renderers
// embed some kinds (the underwater and fire brushes) and drive them themselves.
//
// Modes: 0 draws technique "Main" over the current target; 1 has the run-time object switch the
// canvas's target first and redraws the whole picture with "MainFX"; 2 does the same with the
// switch the renderer's object pass makes for a target copy. Other positive modes draw "MainFX"
// without any switch, negative ones "MainFX" as mode 0 does "Main".
//
// Effect parameters are set by name on every draw. A brush whose effect cannot be had sets
// nothing and draws nothing.
class DS_FX_Constructor : public DS_ABObj_Constructor {
 public:
  static constexpr uint32_t kVersion = 4;

  DS_FX_Constructor();
  // Every member, the clock, the mask id and the target point included; the mask texture, the
  // effect and the grid's buffers are shared.
  DS_FX_Constructor(const DS_FX_Constructor& other) = default;
  DS_FX_Constructor& operator=(const DS_FX_Constructor&) = delete;
  ~DS_FX_Constructor() override;

  // "DS_FX_Constructor" version 4: speed, mode, mask id, name and flag, effect link, scale,
  // mask quad and its tag, angle, then the "DS_ABObj_Constructor" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The body of versions 1-4: version 1 has no scale, versions below 3 no mask quad and tag,
  // versions below 4 no angle (which becomes 0). Answers the description's read.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Phase and last time back to 0: the next Tick steps by at most 0.2 s from time 0.
  void Restart() override;
  // An editing operation: the mask picture made again from the one picture the document stores
  // under the mask id, taken under a new mask id (empty name, flag 1). Without exactly one such
  // picture the brush is left without a mask texture.
  void RebuildPicture() override;
  // Appends the mask quad's rectangle from its first to its last corner; answers false.
  bool AppendScreenRects(std::vector<ScreenRect>& rects) override;
  // A DS_BrushObj on a clone, which is then prepared with the document's picture under the mask
  // id as its mask.
  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override;
  // An editing operation: no mask texture, a new mask id, empty name, flag 1.
  void ResetPicture() override;
  bool KindQuery() const override { return false; }

  // Takes the effect of the effect link from the current document (null when there is none) and
  // the mask texture from `maskSlot`.
  virtual void Prepare(ComRef<gfx::Texture>* maskSlot);
  // Stretches the grid over the mask quad, each vertex textured at its own scene position;
  // nothing before the grid has buffers.
  virtual void UpdateMaskQuad();
  virtual ComRef<gfx::Texture>* GetMaskTexture() { return &maskTexture; }
  // Advances the phase by the scaled speed x the time since the last tick (at most 0.2 s; 0 on
  // the first tick and when time goes backwards).
  virtual void Tick(float time);
  // Sets the kind's effect parameters and draws onto the canvas.
  virtual void Draw(DS_2D_Light& canvas) = 0;
  // Whether the brush has what its Draw draws with: its effect (kinds with device objects of
  // their own add those). A brush that is not ready draws nothing and reads no picture below.
  virtual bool ReadyToDraw() const { return static_cast<bool>(effect); }
  // The mode questions of the run-time object (see the class comment).
  virtual int HasMode() const { return mode.Value() > 0 ? 1 : 0; }
  virtual bool IsMode1() const { return mode.Value() == 1; }
  virtual bool IsMode2() const { return mode.Value() == 2; }
  // Whether the target a mode-1 switch gives the brush is cleared first.
  virtual bool ClearsTargetOnSwitch() const { return true; }
  // The point the run-time object is aimed at: it moves "mask_position" of every brush, and the
  // grid, centre or lines of the kinds whose KindFlag is true.
  virtual void SetTargetPoint(float x, float y, float z);
  virtual bool KindFlag() const { return false; }
  // Holds the texture in `slot` as the mask (none for an empty or null slot); the brush's own
  // slot changes nothing.
  virtual void SetMaskTexture(ComRef<gfx::Texture>* slot);
  // A new copy of the brush, of its own kind.
  virtual std::unique_ptr<DS_FX_Constructor> Clone() const = 0;

  // The document's slot for the picture stored under the mask id; null without a document.
  ComRef<gfx::Texture>* DocumentMaskSlot() const;
  float Phase() const { return speed.localTime; }
  // The current timeline's value, 0 to 1: the brush fades with its object.
  float TimelineValue() const { return timing.TimelineValue(); }

  // The base Prepare, then a grid of 2 x 2 cells stretched over the mask quad.
  void PrepareGrid(ComRef<gfx::Texture>* maskSlot);
  // A wave of x = scaled angle + phase in radians: 2 a triangle wave in step with sin x, 3 sin x,
  // 4 value noise, 5 0.6 sin(2x + pi / 2) + sin x; 0 for any other type.
  float WaveValue(int type) const;
  // WaveValue(type) x (a + b) / 2 + (a - b) / 2: a value that swings between a and -b.
  float SwingBetween(int type, float a, float b) const;
  // The phase as a fraction of a whole turn of 2 pi, 0 to 1.
  float FractionalTurn() const;

  // "mask_position" = -(target point) / picture size.
  void BindMaskPosition(DS_2D_Light& canvas);
  // "Scale" = (aspect / scale, 1 / scale, scale / aspect, scale), "Mask", "Background" = the
  // picture drawn so far, and the technique by mode. Draws nothing.
  void BindScale(DS_2D_Light& canvas);
  // Technique by mode, "mask_position", "Scale" (aspect / scale, 1 / scale), "Mask",
  // "Background" = the picture drawn so far; then one pass over the whole picture (the
  // canvas's background quad).
  void BindCommon(DS_2D_Light& canvas);
  // "mask_position"; then in mode 0 technique "Main" and the grid alone (moved to the target
  // point when KindFlag is true), otherwise "MainFX" and the whole picture. Callers set "Scale",
  // "Mask" and "Background" first.
  void BindCommonQuad(DS_2D_Light& canvas);

  MediaSpeedParam speed;
  MediaParamT<int> mode{0};
  DS_HLSLEffectFile effectLink;
  UINTSclaleTo<float> scale{50, 0.02f, 0.0f};
  // Corners (-,-), (-,+), (+,-), (+,+) about its centre, in scene units.
  MediaQuad maskQuad;
  MediaParamTB<int> quadTag{0};
  // Hundredths of a turn, scaled to radians.
  UINTSclaleTo<float> angle{0, 0.06283186f, 0.0f};
  GUID maskId;
  zkw_string maskName;
  uint8_t maskFlag = 1;
  ComRef<gfx::Texture> maskTexture;
  D3DXVECTOR3 targetPoint;
  ComRef<gfx::Effect> effect;
  WarpGridMesh grid;

 protected:
  // The mask quad's corners in their stored order, textured at their scene positions.
  std::array<TexVertex, 4> MaskCorners() const;
  // The grid resized to 2 x 2 cells and stretched over the mask quad.
  void ResizeGridOverMask();
  // Picture width / height of the canvas; 1 for a picture without height.
  static float PictureAspect(const DS_2D_Light& canvas);
};
