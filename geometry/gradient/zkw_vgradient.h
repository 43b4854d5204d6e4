#pragma once

#include <cstdint>
#include <memory>

#include "core/archive/ds_iof_archive.h"
#include "core/object/ds_iof_item.h"
#include "platform/math/d3dx_types.h"

class ZKW_VGradient_Linear;
class ZKW_VGradient_Circular;

// One operation per gradient kind, called by the kind's Accept. Each does nothing unless a
// visitor replaces it.
class ZKW_VGradient_Visitor {
 public:
  virtual ~ZKW_VGradient_Visitor() = default;
  virtual void VisitLinear(ZKW_VGradient_Linear&) {}
  virtual void VisitCircular(ZKW_VGradient_Circular&) {}
};

// A scalar over space: the particle effect that scales a particle quantity by a gradient asks it
// for the value at each particle's position.
class ZKW_VGradient : public DS_IOF_Item {
 public:
  // The record every gradient's chain ends with: "ZKW_VGradient", 1, no fields.
  bool Save(DS_IOF_Archive& archive) const override;
  virtual float ValueAt(const D3DXVECTOR3* point) const = 0;
  virtual void Accept(ZKW_VGradient_Visitor& visitor) = 0;

 protected:
  ZKW_VGradient() = default;
  ZKW_VGradient(const ZKW_VGradient&) = delete;
  ZKW_VGradient& operator=(const ZKW_VGradient&) = delete;
};

// A gradient record read by class name through the gradient registry; null for a class the
// registry does not hold (the stream is failed then).
std::unique_ptr<ZKW_VGradient> ReadVGradient(DS_IOF_Archive& archive);
