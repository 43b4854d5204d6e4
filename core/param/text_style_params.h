#pragma once

#include <cstdint>

#include "core/archive/ds_iof_archive.h"
#include "core/param/color_params.h"
#include "core/param/media_param_t.h"
#include "core/zkw_string.h"

// The text blocks that text objects, the text texture source and the text shape carry inline in
// their records. The player draws text only from pictures and meshes stored in the project, so it
// reads few of these values; the blocks exist so that records read, copy and write back exactly.
// Copying a block copies the values only: every parameter of the copy has its own fresh
// observers and undo control, and the copy's alpha is recomputed from its transparency.
//
// Reading stores each value straight, without notification, except the transparency percents:
// a different one is stored and notified, so that the alpha follows. A block's version word keeps
// its constructor value, so a block read from an older record is written back in the current
// layout.

// The font of a sprite text object. Equal when all four fields are (faces unit by unit).
struct FontData {
  int32_t height = 32;
  int32_t weight = 700;
  int32_t flag = 0;
  zkw_string face = u"Arial";

  friend bool operator==(const FontData&, const FontData&) = default;
};

// Int32 height, UInt32 weight, Int32 flag, WideString face.
void ReadFontData(DS_IOF_Archive& archive, FontData& font);
void WriteFontData(DS_IOF_Archive& archive, const FontData& font);

// The parameter that holds a FontData, with its own undo control.
using FontMediaParam = MediaParamT<FontData>;

// The font of a text block. Stored as Int32 version word (1; read and not kept), WideString face,
// UInt32 size, Int32 first and second style value, Dword colour, UInt32 transparency percent.
struct FontStyleParams {
  void Read(DS_IOF_Archive& archive);
  void Save(DS_IOF_Archive& archive) const;

  int32_t version = 1;
  MediaParamT<zkw_string> face;
  MediaParamT<unsigned> size{0};  // the scale of 3D text
  MediaParamT<int> style1{0};
  MediaParamT<int> style2{0};
  ColorAlphaParam color;  // the tint of flat text, the material of 3D text
};

// The whole description of a text block. Stored as Int32 version word (2), WideString text, the
// font block, Int32 first and second text value, and, only in records whose version word is above
// 1, Int32 third text value (0 otherwise).
struct TextStyleParams {
  void Read(DS_IOF_Archive& archive);
  void Save(DS_IOF_Archive& archive) const;

  int32_t version = 2;
  MediaParamT<zkw_string> text;
  FontStyleParams font;
  MediaParamT<int> value1{0};  // vertical alignment of flat text: 0 start, 1 centre, 2 end
  MediaParamT<int> value2{0};  // horizontal alignment of flat text
  MediaParamT<int> value3{0};
};

// One decoration layer of a text picture (flat text holds three, its third the shadow). Stored as
// Int32 on/off value, Dword colour, UInt32 transparency percent, UInt32 amount.
struct TextLayerParams {
  void Read(DS_IOF_Archive& archive);
  void Save(DS_IOF_Archive& archive) const;

  MediaParamT<int> enabled{0};
  ColorAlphaParam color;
  MediaParamT<unsigned> amount{0};
};
