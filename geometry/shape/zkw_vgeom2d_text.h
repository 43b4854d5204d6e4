#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/text_style_params.h"
#include "geometry/shape/zkw_vgeom2d_freeform.h"

// A freeform region made from a text: the cells are stored with the shape (nothing here lays out
// the text), the text's style is kept and stored, and every point is moved by the offset.
class ZKW_VGeom2D_Text : public ZKW_VGeom2D_Freeform {
 public:
  ZKW_VGeom2D_Text() = default;
  ZKW_VGeom2D_Text(const ZKW_VGeom2D_Text&) = default;

  // "ZKW_VGeom2D_Text", 1, the style block, the offset as three Float, then the whole freeform
  // record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The style block, the offset stored straight, then the freeform record.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  const char* GetClassName() const override { return "ZKW_VGeom2D_Text"; }
  std::unique_ptr<ZKW_VGeom2D> Clone() const override;

  // The freeform's point plus the offset. Without cells the caller's point is moved by the
  // offset; always true.
  bool RandomPoint(D3DXVECTOR3* point, float uv[2]) const override;
  // The offset.
  D3DXVECTOR3* GetCenter(D3DXVECTOR3* out) const override;
  bool Accept(ZKW_VGeom2D_Visitor& visitor) override;

  TextStyleParams style;
  MediaParamT<D3DXVECTOR3> offset;
};
