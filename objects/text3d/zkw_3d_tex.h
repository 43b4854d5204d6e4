#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/com_ref.h"
#include "core/param/media_param_t.h"
#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "objects/text3d/glyph_mesh_block.h"
#include "objects/text3d/text_motion.h"
#include "objects/text3d/zkw_text.h"
#include "platform/gfx/mesh/fvf_mesh.h"
#include "platform/math/d3dx_types.h"

// 3D text: a text as extruded glyphs stored in the project as a mesh (subset i = glyph i, from
// 1), lit by one directional light in the font colour, placed with the centre of its text bounds
// on its position and scaled by the font size. The whole text turns, swings or pulses about an
// axis through its centre; each glyph lifts, flips, waves, swings or pulses with a delay from the
// one before it, optionally bent along an arc. It draws in every frame of its slide, whatever its
// timeline says: the timeline reaches it only through the local time it is given.
class ZKW_3DTex : public ZKW_Text {
 public:
  static constexpr uint32_t kVersion = 2;

  // Light angles 90 (light along +z), glyph speed 100 %, no mesh, spare integer 1.
  ZKW_3DTex();
  // Every field; the mesh is shared.
  ZKW_3DTex(const ZKW_3DTex& other) = default;
  ZKW_3DTex& operator=(const ZKW_3DTex&) = delete;

  // "ZKW_3DTex" version 2: position, depth, spare integer, ambient level, light angles B and A,
  // rotation axis, object motion, amplitude and speed, glyph motion, loop, amplitude, speed,
  // delay and period, the glyphs (mesh block, text bounds, glyph bounds), arc angle and side,
  // then the "ZKW_Text" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 ends before the arc: its angle becomes 0 and its side 0. Depth, object amplitude
  // and speed, glyph speed, delay, period and arc angle are told when they change.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
  // Reads the glyphs (ReadGlyphSet) and makes the mesh on the current device from a drawable
  // block; a block that is not drawable is read whole and leaves no mesh.
  void ReadGlyphs(DS_IOF_Archive& archive);
  // Takes the glyphs and makes their mesh likewise.
  void SetGlyphs(const GlyphSet& set);

  // Both clocks back to 0.
  void Restart() override;
  // Nothing: the mesh is made when the record is read.
  void Prepare() override {}
  // The fixed-function draw: light 0, the font colour's material, the ambient level, the depth
  // cleared, each glyph's subset with its glyph matrix times the object matrix, then lighting,
  // culling and the depth test off.
  void Draw(DS_2D_Light& canvas) override;
  // The base and object matrices and every glyph's matrix at local time t.
  void Tick(float t) override;
  std::unique_ptr<ZKW_Text> Clone() const override { return std::make_unique<ZKW_3DTex>(*this); }

  TextBox TextBounds() const;
  TextBox GlyphBounds(size_t glyph) const;
  float Depth() const { return depth.Scaled(); }

  // ---- stored ----
  MediaParamT<D3DXVECTOR3> position;
  // value x 0.004 + 0.001 mesh units; the glyphs pivot at z = -depth / 2.
  UINTSclaleTo<float> depth{0, 0.004f, 0.001f};
  int32_t spare = 1;
  MediaParamT<unsigned> ambient{0};  // its low byte in all four bytes of the ambient colour
  MediaParamT<unsigned> lightAngleB{90};
  MediaParamT<unsigned> lightAngleA{90};
  MediaParamT<int> rotationAxis{0};  // 0 x, 1 y, 2 z
  MediaParamT<int> objectMotion{0};  // 0 none, 1 turn, 2 turn back, 3 swing, 4 pulse
  UINTSclaleTo<float> objectAmplitude{0, 1.0f, 0.0f};  // degrees (swing) or percent (pulse)
  MediaSpeedParam objectSpeed;                         // degrees of phase per second
  MediaParamT<int> glyphMotion{0};  // 0 none, 1 lift, 2 flip, 3 wave, 4 swing, 5/6 pulse out/in
  MediaParamT<int> glyphLoop{0};    // 1 repeats each period
  MediaParamT<unsigned> glyphAmplitude{0};          // percent
  MediaSpeedParam glyphSpeed;                       // percent, x 0.01
  UINTSclaleTo<float> glyphDelay{0, 0.001f, 0.0f};  // milliseconds, in seconds
  UINTSclaleTo<float> glyphPeriod{0, 0.2f, 0.0f};
  GlyphSet glyphs;
  UINTSclaleTo<float> arcAngle{0, 1.0f, 0.0f};  // degrees
  MediaParamT<int> arcSide{0};

  // ---- run-time ----
  ComRef<gfx::FvfMesh> mesh;
  D3DXMATRIX baseMatrix;
  D3DXMATRIX objectMatrix;
  std::vector<D3DXMATRIX> glyphMatrices;  // one per glyph bounds
  float objectLast = 0.0f, objectStep = 0.0f, objectPhase = 0.0f;
  float glyphLast = 0.0f, glyphStep = 0.0f, glyphTime = 0.0f;

 private:
  // One identity matrix per glyph, and the mesh of a drawable block on the current device.
  void MakeMesh();
};
