#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/com_ref.h"
#include "core/link/ds_file_link.h"
#include "core/param/color_params.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "platform/gfx/texture.h"
#include "player/render/sprite_array.h"
#include "player/resources/texture_ref.h"
#include "renderers/light/ds_2d_light.h"
#include "renderers/matrix_code/glyph_grid.h"

// The renderer that covers the slide with columns of falling glyphs: the picture is cut into
// square cells, drops write random glyphs of a glyph strip down the columns and leave fading
// tails, some cells flicker, and heads and flickering cells take a colour of their own. One
// textured quad per cell, in batches, drawn under the objects or over everything; over the
// picture, over black with the glyphs' brightness taken from the picture, or over nothing.
class DS_MatrixCodeLight : public DS_2D_Light {
 public:
  static constexpr uint32_t kVersion = 3;
  // Quads of one batch: 65,532 vertices, within reach of its 16-bit indices.
  static constexpr uint32_t kQuadsPerBatch = 16383;

  // A quad batch with the texture it is drawn with.
  struct GlyphBatch {
    PCTSpriteArray quads;
    ComRef<gfx::Texture> texture;
  };

  // "DS_MatrixCodeLight" version 3: the values, the glyph picture, the layer, then the
  // "DS_2D_Light" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 stores no glyph picture, version 2 no layer.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The base's, the glyph strip, the settings from the values, the grid, its quads and the
  // picture's brightness.
  void Prepare() override;
  // The base's, then stage 0 modulates colour and alpha.
  void ResetDeviceState() override;
  // Layer 1: the glyphs over everything. Then the border bars.
  void Compose(void* context) override;
  // One step of the glyphs, then the picture (mode 0), black (mode 1) or nothing, then the
  // glyphs of layer 0.
  void DrawBackground(void* context) override;
  // Keeps the time for the next DrawBackground, which moves the camera and the glyphs.
  void Update(float t) override;
  // The base's view with `mode`, then an empty grid and its quads.
  void SetFitMode(int mode) override;
  // The base's, then stage 0 modulates alpha.
  void DrawScreenQuad(const TexturedScreenQuad& quad) override;
  // The base's, then the picture's brightness, an empty grid and its quads.
  void RefreshView() override;
  bool AppendScreenRects(std::vector<ScreenRect>& rects) override {
    return AppendWholeTarget(rects);
  }

  // A new empty grid of the scene's size from the settings.
  void RebuildGrid();
  // One quad per cell of the grid in batches of at most kQuadsPerBatch, with the glyph strip.
  void BuildQuads();
  // Mode 1: the brightness of a 256 x 256 copy of the picture; mode 0: none; other modes keep
  // what there is.
  void BuildLuminanceTable();
  // The camera at time t, the drops' writing, a step of the grid, then every quad from the next
  // lit cell.
  void FillGlyphQuads(float t);
  // Every batch with its glyph strip, placed with the picture and the camera.
  void DrawGlyphs();
  // The four vertices of `quad` for `cell`: colour, brightness and opacity as the values say.
  void WriteGlyphQuad(const GlyphGrid::VisibleCell& cell, DX_V::PCT* quad) const;

  MediaParamT<unsigned> cellSize{16};
  MediaParamT<unsigned> density{20};
  MediaParamT<unsigned> flickerCount{50};
  MediaParamT<int> glitch{0};
  MediaParamT<int> backgroundMode{0};
  MediaParamT<int> startMode{2};
  MediaParamT<int> layer{0};
  SmartCOLORREF glyphColour{0};
  SmartCOLORREF headColour{0};
  UINTSclaleTo<float> transparency{0, -0.01f, 1.0f};  // the opacity
  DS_ImageFileLink glyphLink{u"glimres.dll", 40};

  uint32_t quadCount = 0;
  std::vector<GlyphBatch> batches;
  std::unique_ptr<GlyphGrid> grid;
  GlyphGrid::Settings settings;
  GlyphGrid::VisibleCell lastCell;  // the cell NextVisibleCell answered last
  std::vector<float> luminance;     // 256 x 256, empty when there is none
  float lastTime = 0.0f;
};
