#pragma once

#include <array>

#include "core/archive/ds_iof_archive.h"
#include "core/param/media_param_tb.h"
#include "platform/math/d3dx_types.h"

// Four corner points: the frame of a picture, an effect mask or an emitter rectangle. The
// corners have no undo; the quad's own control list is for its owner's observers.
class MediaQuad : public MediaParam {
 public:
  MediaQuad() = default;
  // Copies the four corner values into fresh parameters (no observers).
  MediaQuad(const MediaQuad& other) : MediaParam(), corners(other.corners) {}
  MediaQuad& operator=(const MediaQuad&) = delete;

  // An axis-aligned width x height rectangle around `centre`, corners in the order
  // (-w, -h), (-w, +h), (+w, -h), (+w, +h) with w, h the half sizes. Stored directly: nobody is
  // told.
  void SetRect(float width, float height, const D3DXVECTOR3& centre);

  std::array<MediaParamTB<D3DXVECTOR3>, 4> corners;
};

// Twelve Float: x, y and z of the first corner, then of the second, third and fourth, stored
// straight into the corners (no notification).
void ReadMediaQuad(DS_IOF_Archive& archive, MediaQuad& quad);
void WriteMediaQuad(DS_IOF_Archive& archive, const MediaQuad& quad);
