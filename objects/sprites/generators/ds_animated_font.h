#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "core/param/media_param_t.h"
#include "core/param/media_quad.h"
#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "core/zkw_string.h"
#include "objects/sprites/generators/ds_static_generator.h"

// A block of glyph pictures: glyph i is one quad of its picture's pixel size at source i (its
// corner with texture coordinate (0, 0) there), each animating its own frames on the font's
// clock; the whole block is scaled about the position. The text, the character map and four
// further values are kept for editing and not used in playback.
//
// Record "DS_AnimatedFont" version 1: text (wide string), animation speed, scale and three
// values (UInt32), a value (Int32), the map (Dword count; Int16 character, wide-string picture
// name, Int64 picture id each, in ascending character order), the glyph pictures (image links),
// then the "DS_StaticGenerator" record.
class DS_AnimatedFont : public DS_StaticGenerator {
 public:
  static constexpr uint32_t kVersion = 1;
  struct GlyphEntry {
    zkw_string name;
    int64_t id = 0;
    bool operator==(const GlyphEntry&) const = default;
  };

  DS_AnimatedFont();
  DS_AnimatedFont(const DS_AnimatedFont& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Each glyph quad alone with the current frame of its picture at stage 0, through the effect
  // (fixed-function alpha blending without one).
  void Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) override;
  // The animation clock, then every glyph's frame by its delays. No quad is rewritten.
  void Update(float t, DS_ParticlesObj& obj) override;
  // The static attach; one layer; the glyph pictures' textures appended; one quad per glyph
  // that has a source; the block transform of layer 0 and the bounds.
  void AttachRuntimeObject(DS_ParticlesObj& obj) override;
  std::unique_ptr<DS_ParticleGenerator> Clone() const override;

  // A Dword count, then the entries; the first entry of a character stays.
  void ReadGlyphMap(DS_IOF_Archive& archive);

  MediaParamT<zkw_string> text;
  MediaSpeedParam animationSpeed;             // x 0.01
  UINTSclaleTo<float> scale{0, 0.01f, 0.0f};  // of the block about the position
  MediaParamT<unsigned> values[3] = {MediaParamT<unsigned>(0), MediaParamT<unsigned>(0),
                                     MediaParamT<unsigned>(0)};
  MediaParamT<int> intValue{0};
  std::map<char16_t, GlyphEntry> glyphMap;
  MediaQuad bounds;
  std::vector<DS_ImageFileLink> glyphPictures;
  std::vector<TextureFrameSet> glyphTextures;
  MediaQuad unscaledBounds;
};
