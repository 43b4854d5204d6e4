#pragma once

#include <cstdint>
#include <memory>

#include "core/archive/ds_iof_archive.h"
#include "core/link/ds_named_file_link.h"
#include "core/object/ds_iof_item.h"
#include "core/param/media_param_tb.h"
#include "core/param/scaled_param.h"
#include "core/param/text_style_params.h"

// Where a particle or sprite picture comes from. Whatever the kind, the picture itself is kept
// by the document under the source's picture list (a link named by a GUID's text made at
// construction); the player draws only those stored pictures. The kinds' own parameters (circle,
// text and polygon values) are stored and copied so that a project reads and writes back
// unchanged, but no picture is made from them.
class ZKW_TextureSRC : public DS_IOF_Item, public DS_NamedFileLinkData {
 public:
  ~ZKW_TextureSRC() override = default;

  // The base record alone: "ZKW_TextureSRC", version 1, then the picture list's record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The picture list's record, which replaces the links made at construction.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Operations no kind gives an effect.
  virtual void Reserved1(int, int) {}
  virtual void Reserved2(int) {}
  virtual bool Reserved3(int, int) const { return false; }

  virtual bool FirstKindFlag() const { return true; }
  virtual bool SecondKindFlag() const { return true; }

  // A new source of the same kind with copies of every field: the same links, hence the same
  // stored picture.
  virtual std::unique_ptr<ZKW_TextureSRC> Clone() const = 0;

 protected:
  // One link named by a new GUID's text (no such file exists, so its id is 0), which is also the
  // current name and id.
  ZKW_TextureSRC();
  ZKW_TextureSRC(const ZKW_TextureSRC&) = default;
  ZKW_TextureSRC& operator=(const ZKW_TextureSRC&) = delete;

  // Writes the record header of a kind and, after its fields, the base record.
  void SaveBase(DS_IOF_Archive& archive) const { ZKW_TextureSRC::Save(archive); }
  // Reads the base header (dropped) and the base record after a kind's fields.
  void ReadBase(DS_IOF_Archive& archive) {
    ZKW_TextureSRC::ReadBody(archive, ReadBaseHeader(archive));
  }
};

// A picture that is an image resource of a module.
class ZKW_ResIDTex : public ZKW_TextureSRC {
 public:
  ZKW_ResIDTex() = default;
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  bool FirstKindFlag() const override { return false; }
  bool SecondKindFlag() const override { return false; }
  std::unique_ptr<ZKW_TextureSRC> Clone() const override;
};

// A picture that came from an image file.
class ZKW_ImgFileTex : public ZKW_TextureSRC {
 public:
  ZKW_ImgFileTex() = default;
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  bool FirstKindFlag() const override { return false; }
  std::unique_ptr<ZKW_TextureSRC> Clone() const override;
};

// A generated soft circle: two unsigned values and an int.
class ZKW_SoftCircleTex : public ZKW_TextureSRC {
 public:
  ZKW_SoftCircleTex() = default;
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  std::unique_ptr<ZKW_TextureSRC> Clone() const override;

  MediaParamTB<unsigned> value1{0};
  MediaParamTB<unsigned> value2{0};
  MediaParamTB<int> value3{0};
};

// A rendered text: the text, its font block and one decoration layer.
class ZKW_TextTexure : public ZKW_TextureSRC {
 public:
  ZKW_TextTexure() = default;
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  std::unique_ptr<ZKW_TextureSRC> Clone() const override;

  MediaParamTB<zkw_string> text;
  FontStyleParams font;
  TextLayerParams layer;
};

// A generated polygon: two unsigned values, a scaled value and two ints.
class ZKW_PolygonTex : public ZKW_TextureSRC {
 public:
  ZKW_PolygonTex() = default;
  bool Save(DS_IOF_Archive& archive) const override;
  // The scaled value is set with notification when it differs, so its float follows.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  std::unique_ptr<ZKW_TextureSRC> Clone() const override;

  MediaParamTB<unsigned> value1{0};
  MediaParamTB<unsigned> value2{0};
  UINTSclaleTo<float> scaled{0, 1.0f, 0.0f};
  MediaParamTB<int> value4{0};
  MediaParamTB<int> value5{0};
};

// A texture source read by class name through the texture-source registry; null for a class it
// does not hold (the stream is failed then).
std::unique_ptr<ZKW_TextureSRC> ReadTextureSrc(DS_IOF_Archive& archive);
