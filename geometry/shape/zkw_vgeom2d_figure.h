#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>

#include "core/param/media_param_t.h"
#include "geometry/shape/zkw_vgeom2d.h"

class MediaParam;

// An area shape centred on its position and defined by a few numeric parameters: rectangle,
// annular sector, spiral, sphere. Unsigned parameters enter the formulas as floats.
class ZKW_VGeom2D_Figure : public ZKW_VGeom2D {
 public:
  // "ZKW_VGeom2D_Figure", version 1, Float cx, cy, cz, then the ZKW_VGeom2D record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The position as three Float stored straight, then the ZKW_VGeom2D header.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The position.
  D3DXVECTOR3* GetCenter(D3DXVECTOR3* out) const override;
  // (1, 0, 0).
  D3DXVECTOR3* NormalAt(D3DXVECTOR3* out, const D3DXVECTOR3& point) const override;

  MediaParamT<D3DXVECTOR3> position;

 protected:
  ZKW_VGeom2D_Figure() = default;
  ZKW_VGeom2D_Figure(const ZKW_VGeom2D_Figure&) = default;

  const D3DXVECTOR3& Center() const { return position.Value(); }
  // One control per parameter (the position first, then `params`) in `list`, each calling
  // `callback`.
  void WatchParams(OwnedControlList& list, const std::function<void()>& callback,
                   std::initializer_list<MediaParam*> params);
};
