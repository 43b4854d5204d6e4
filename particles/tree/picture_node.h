#pragma once

#include <cstdint>

#include "core/com_ref.h"
#include "core/link/ds_file_link.h"
#include "core/param/color_params.h"
#include "core/param/media_param_t.h"
#include "particles/behaviour/effects/angle_effects.h"
#include "particles/tree/emitter_node.h"
#include "particles/tree/picture_options.h"
#include "platform/gfx/effect/effect.h"
#include "player/resources/zkw_alerter_texture_src.h"

// An emitter that draws its particles: one textured quad per particle in its own batch, through
// the effect {"glimres.dll", 306}. The picture comes from a texture source whose atlas (columns x
// rows cells) the particles either step through or show one random cell of. Each particle gets a
// random turn from the node's rotation effect and follows its parent (its position is relative).
// The glow, shadow and radial glow options add their passes to the node's drawing.
class ZKW_PtclSysNode_Picture : public ZKW_PtclSysNode_Emitter {
 public:
  // A point group physics and the picture defaults.
  ZKW_PtclSysNode_Picture();

  // "ZKW_PtclSysNode_Picture" version 12, then the emitter record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Versions 1 to 12.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The children's, then the effect, the texture's frames, the options' device objects.
  void CreateDeviceObjects() override;
  // Kills the particles, resets the children and rewinds the texture's frames.
  void Reset() override;
  // Steps the texture's frames, sorts by depth when asked, then the emitter's update; one batch
  // for itself (two with the radial glow) plus the children's.
  int UpdateParticles(float step, ParticleList* parents) override;
  void FillVertices(QuadBatches& batches, size_t* index) override;
  void Render(QuadBatches& batches, size_t* index, DS_2D_Light& renderer,
              int* readerCount) override;
  // The children's, plus one when the glow is on with a mode above 0.
  int NeedsPictureBelow() const override;
  PictureOptions* GetOptions() override { return &options; }
  // The emitter's, then the inherited age, the rotation, the atlas cell or animation, relative
  // placement and the birth matrix.
  void InitNewParticle(ParticleHandle& particle) override;

  // Loads and premultiplies the texture's frames; a size of 0 becomes the width of one atlas
  // cell, and the y axis takes the cell's aspect.
  void OnTextureChanged();

  // Atlas columns and rows of the texture source, at least 1 each.
  uint32_t Columns() const;
  uint32_t Rows() const;

  ZKW_AlerterTextureSRC texture;
  MediaParamT<unsigned> size{0};
  MediaParamT<int> flipVertical{0};
  MediaParamT<int> flipHorizontal{0};
  ColorAlphaParam colour;
  MediaParamT<int> additive{0};
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_Rotation> rotation;
  MediaParamT<int> atlasLoop{1};
  MediaParamT<int> childrenOrder{0};  // 0: children below this node, 1: above
  DS_HLSLEffectFile effectLink{u"glimres.dll", 306};
  ComRef<gfx::Effect> effect;
  D3DXVECTOR3 axisX{1, 0, 0};
  D3DXVECTOR3 axisY{0, 1, 0};
  uint32_t backgroundFlags = 0;
  PictureOptions options;

 protected:
  // The picture part's header, then its body.
  void ReadPicturePart(DS_IOF_Archive& archive) {
    ZKW_PtclSysNode_Picture::ReadBody(archive, ReadBaseHeader(archive));
  }
  // The texture's frames, the depth sort, the particles and their new ones, then the children;
  // answers the children's batches.
  int StepPicture(float step, ParticleList* parents);
  // Whether the node can draw: an effect and a first frame of some width.
  bool CanDraw() const;
  void FillOwnBatch(ParticleQuadBatch& batch);
  void DrawOwnBatch(ParticleQuadBatch& batch, DS_2D_Light& renderer, int* readerCount);
};

// Keeps the picture's parameters and counts its batch, but draws nothing (its children draw).
// Stored without the picture fields: it always has the picture defaults.
class ZKW_PtclSysNode_Blank : public ZKW_PtclSysNode_Picture {
 public:
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  void FillVertices(QuadBatches& batches, size_t* index) override;
  void Render(QuadBatches& batches, size_t* index, DS_2D_Light& renderer,
              int* readerCount) override;
  int NeedsPictureBelow() const override { return ZKW_PtclSys_Node::NeedsPictureBelow(); }
};

// A picture that reloads its frames whenever its texture source changes.
class ZKW_PtclSysNodePic_TexDynamic : public ZKW_PtclSysNode_Picture {
 public:
  ZKW_PtclSysNodePic_TexDynamic();
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

 private:
  SmartCalbackCtrl<ZKW_PtclSysNodePic_TexDynamic> textureWatch_{
      &ZKW_PtclSysNodePic_TexDynamic::OnTextureChanged, this, &texture};
};

// A picture cut into pieces, one per particle of its exploding-picture physics: each piece shows
// its part of the picture.
class ZKW_PtclSysNodePic_Explode : public ZKW_PtclSysNode_Picture {
 public:
  ZKW_PtclSysNodePic_Explode();
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  void InitNewParticle(ParticleHandle& particle) override;
};
