#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/com_ref.h"
#include "core/link/ds_file_link.h"
#include "core/object/ds_iof_item.h"
#include "core/param/media_param.h"
#include "core/scene/ds_abobj_constructor.h"
#include "platform/gfx/effect/effect.h"
#include "player/render/color_quad_mesh.h"
#include "player/render/mesh_geometry.h"
#include "player/render/quad_corners.h"
#include "player/render/render_meshes.h"
#include "player/render/render_target_set.h"
#include "player/render/textured_screen_quad.h"
#include "player/resources/texture_ref.h"
#include "renderers/camera/dsm_camera.h"
#include "renderers/light/drawables.h"

// Marks the renderer role.
class DS_ABRender {};

// The slide renderer: every slide owns one, and every object of the slide draws through it. It
// draws the background picture, walks the objects last to first, owns the ping-pong render
// targets through which an object reads the picture drawn below it, keeps the view (the quad of
// the target into which the picture is fitted) and embeds the slide camera. Kinds post-process
// the whole picture by overriding a few operations and chaining to these.
class DS_2D_Light : public DS_ABRender, public DS_IOF_Item {
 public:
  static constexpr uint32_t kVersion = 3;

  // Render flags, written by the object pass and read by the draws that honour blend overrides.
  enum RenderFlag : uint32_t {
    kLayerSplit = 0x1,     // a layer split off by a copy flip is active
    kFreshTarget = 0x2,    // the current object was given a freshly cleared target
    kOffscreenBlur = 0x4,  // a blur pass draws off screen
    kKeepsCopy = 0x8,      // the object drawn last keeps its target copy
    kSourceOne = 0x10,     // draw with source factor ONE
  };

  // The background quad: four XYZ|TEX1 strip vertices with the picture's texture.
  struct BackgroundQuad : SimpleMesh {
    ComRef<gfx::Texture> texture;
  };

  DS_2D_Light();
  ~DS_2D_Light() override;
  DS_2D_Light(const DS_2D_Light&) = delete;
  DS_2D_Light& operator=(const DS_2D_Light&) = delete;

  // "DS_2D_Light" version 3: the background picture link, then the camera's record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 stores nothing more, 2 the picture link, 3 also the camera (whatever class name
  // its record carries).
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // ---- views ----
  // Saves the render context's fit mode, the view quad and the pushed-view flag, then views
  // (0, 0)-(width, height) with `fitMode` until the matching PopView.
  virtual void PushView(uint32_t width, uint32_t height, int fitMode);
  // Restores what the last PushView saved; nothing when nothing is saved.
  virtual void PopView();

  // ---- draws (each sets the render context's view and projection and the drawable's world)
  // An effect given as null draws nothing.
  virtual void DrawIndexedTex(const IndexedMesh& mesh, gfx::Effect* effect);
  virtual void DrawTexWithEffect(const SimpleMesh& mesh, gfx::Effect* effect);
  // Quads first..first + count of a quad batch; without an effect, fixed-function blending of
  // texture and vertex colour.
  virtual void DrawIndexedMesh(const IndexedMesh& mesh, gfx::Effect* effect, uint32_t firstQuad,
                               uint32_t quadCount);
  virtual void DrawIndexedColorTex(const IndexedMesh& mesh, gfx::Effect* effect);
  // The part at each of its nodes, culled by the node's winding flag; a two-sided part twice.
  virtual void DrawFrameList(const MeshPart& part);
  virtual void DrawSpriteLayer(const SpriteLayer& layer);
  // The mesh at each child of its root, front faces then back faces.
  virtual void DrawFrameTree(const MeshGeometry& mesh);
  virtual void DrawCustom(CustomDrawable& drawable, void* argument);
  // Switches to the next ping-pong target so that the picture drawn so far can be read; the
  // last reader (the count reaching 0) ends the targets instead.
  virtual void SwitchTarget(int* readerCount, bool clear);
  virtual void DrawIndexedColorTexBlend(const IndexedMesh& mesh, gfx::Effect* effect,
                                        gfx::EffectHandle technique, uint32_t primitiveCount);
  virtual void DrawWithEffect(const SimpleMesh& mesh, gfx::Effect* effect);

  // ---- what objects read ----
  // The slot of the picture drawn so far; the same address for the renderer's life.
  virtual ComRef<gfx::Texture>* GetTargetTextureSlot() { return &targetTexture; }
  virtual BackgroundQuad& GetBackgroundNode() { return background; }
  // Whether the target slot holds a picture below for glows to be laid on: every renderer has
  // one.
  virtual bool HasPictureBelow() const { return true; }
  virtual uint32_t GetPictureWidth() const { return picture.width; }
  virtual uint32_t GetPictureHeight() const { return picture.height; }

  // ---- slide life ----
  // The device objects of the slide start: the background quad, the picture, the border bars.
  virtual void Prepare();
  // Default device state and the render targets after a device reset.
  virtual void ResetDeviceState();
  // Releases the render targets and the target texture and empties the view stacks.
  virtual void ReleaseDeviceObjects();
  // The final screen pass: the border bars.
  virtual void Compose(void* context);
  // Clears the target and draws the background picture.
  virtual void DrawBackground(void* context);
  // The camera's frame at slide time t.
  virtual void Update(float t);
  // Stores the view (unless a pushed view is in force), applies it and publishes the
  // document's scene view.
  virtual void SetViewQuad(const QuadCorners& quad);
  virtual void SetFitMode(int mode);
  virtual bool IsCameraEnabled() const { return camera.IsEnabled(); }
  // Draws a screen-space colour quad over everything; nothing without one.
  virtual void DrawFadeOverlay(const ColorQuadMesh* overlay);
  virtual void DrawScreenQuad(const TexturedScreenQuad& quad);
  // The object pass: the objects from the last to the first with `readerCount` readers. Debug
  // builds check each object's picture-below contract (picture_below_check.h).
  virtual void RenderObjects(const RuntimeObjectList& objects, int readerCount);
  // The plain renderer covers no rectangle of its own.
  virtual bool AppendScreenRects(std::vector<ScreenRect>& rects) {
    (void)rects;
    return false;
  }
  // Redirects drawing into the offscreen targets, viewed whole with fit mode 3; nothing when
  // there are no targets.
  virtual void BeginTargets();
  virtual ComRef<gfx::Texture>* FlipTarget(bool clear);
  // Back to the frame and its view; nothing but the answer when no targets are begun.
  virtual ComRef<gfx::Texture>* EndTargets(bool clear);
  virtual bool EnableCamera(bool on);
  virtual bool NeedsOffscreenPass() const { return false; }
  // Reloads the picture, rebuilds the background quad, resizes the camera frame, re-sets the
  // view.
  virtual void RefreshView();
  // The background picture's texture (what lies below before any object has drawn).
  virtual ComRef<gfx::Texture> GetTargetTexture();

  // A world-space colour quad with the transforms in force.
  void DrawColorQuad(const ColorQuadMesh& quad);
  // Drops the targets after a reset: the next pass with readers makes them at n, n - 1, ... 1
  // times the back buffer's size, the first that can be made.
  void CreateTargets();
  // Releases the render targets and the target texture (not while a pass draws into them): a
  // slide that stops showing holds no full-screen targets.
  void ReleaseTargets();

  Size PictureSize() const { return {picture.width, picture.height}; }

  uint32_t renderFlags = 0;
  DS_ImageFileLink backgroundLink{u"glimres.dll", 5};
  DSM_Camera camera;
  BackgroundQuad background;
  TextureRef picture;
  ComRef<gfx::Texture> targetTexture;
  int fitMode = 1;
  RenderTargetSet targets;
  std::vector<std::unique_ptr<MediaControl>> ownedControls;
  QuadCorners viewQuad;
  uint8_t pushedView = 0;
  // What PushView saved, popped by PopView.
  std::vector<uint8_t> savedFlags;
  std::vector<int> savedFits;
  std::vector<QuadCorners> savedViews;
  // What BeginTargets saved, popped by EndTargets: a nesting of its own, so that each pass ends
  // in the view it began in whatever views were pushed meanwhile. A view pushed inside the pass
  // and still open when it ends is popped back into the frame's view and fit mode.
  struct SavedTargetView {
    QuadCorners view;
    size_t pushDepth;  // the views pushed when the pass began
  };
  std::vector<SavedTargetView> savedTargetViews;

 protected:
  // The blend factors of the object pass's overrides: ONE/ZERO on a fresh target or a split
  // layer, then source ONE when asked.
  void ApplyBlendOverrides();
  // Sets view and projection of the render context.
  void SetViewProjection();
  // Draws `texture` with the background quad over the current target, at the picture's depth.
  void DrawWithBackgroundQuad(gfx::Texture* texture);
  // The targets are still begun after an object pass that did not end them: they are ended
  // and the picture drawn off screen is shown.
  void FinishTargets();
  // Takes the first frame of the background picture from the document and places the
  // background quad on it.
  void LoadPicture();
};

// Installs the renderer's entries of the scene services (SwitchTarget).
void InstallRendererServices();
