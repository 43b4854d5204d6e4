#pragma once

#include <memory>
#include <vector>

#include "core/com_ref.h"
#include "core/scene/ds_abobj.h"
#include "objects/sprites/ds_base_sprite_prop.h"
#include "objects/sprites/particle_geom_array.h"
#include "platform/gfx/texture.h"
#include "renderers/light/drawables.h"

// The run-time object of the plain sprite presets: owns the preset's clone, keeps its sprites
// and quads, animates its picture and is drawn by the renderer's sprite-layer pass (the current
// frame's texture, the preset's blend mode, then the second picture when there is one).
class DS_SpriteArrayObj : public DS_ABObj,
                          public AnimatedTexture<ParticleGeomArray>,
                          public SpriteLayer {
 public:
  // Takes the clone, takes the picture's textures by the picture source (1: the module's
  // picture pack, 2: the link's texture set, otherwise the document's picture set of the link)
  // and the second picture's current texture, then makes the sprites.
  explicit DS_SpriteArrayObj(std::unique_ptr<DS_BaseSpriteProp> preset);
  ~DS_SpriteArrayObj() override;

  void Draw(DS_2D_Light& renderer) override;
  // Both restarts also set every sprite's kind timers back to 0.
  void OnSlideRestart() override;
  void Restart() override;
  // The clocks and sprites, the picture's animation on the speed clock, then the vertices
  // (with frame-locked motion only when the picture advanced).
  void Update(float localTime) override;
  void SyncViewRect() override;
  // The preset's HitTest at the point.
  bool HitTestPoint(const int point[2]) const override;
  // The bounds {x, y, width, height} of every sprite's quad; answers false.
  bool AppendScreenRects(std::vector<ScreenRect>& rects) override;
  void ExportSpriteFrames(SpriteExportState& state, bool last) override;

  // The sprite layer.
  const IndexedMesh& LayerMesh() const override { return *this; }
  int BlendMode() const override;
  uint32_t QuadCount() const override { return DrawnQuads(); }
  gfx::Texture* FrameTexture() const override;
  gfx::Texture* SecondTexture() const override { return secondTexture_.Get(); }

 private:
  void TakePictureSet();
  // Texture coordinates of the used part of the texture set, for picture source 2.
  void FillUsedPartUVs();

  ComRef<gfx::Texture> secondTexture_;
};
