#pragma once

#include "core/archive/ds_iof_archive.h"
#include "core/param/media_param_t.h"
#include "platform/math/d3dx_types.h"

// The target pixel (x, y) in picture units: (x, y, 0, 1) transformed by `inverseView` (the
// inverseView of the calling thread's current render context). The hit tests of rectangles and
// quads map the mouse this way.
D3DXVECTOR4 ClientPointInScene(float x, float y, const D3DXMATRIX& inverseView);

// An integer rectangle in picture units used for hit tests, with two further values that travel
// with it (their meaning is the owner's; the hit test ignores them).
class MediaRectangle : public MediaParam {
 public:
  MediaRectangle() = default;
  // Copies the six values into fresh parameters (no observers, empty histories).
  MediaRectangle(const MediaRectangle& other) = default;
  MediaRectangle& operator=(const MediaRectangle&) = delete;

  // Whether the target pixel (x, y), mapped to picture units by `inverseView` (the inverseView
  // of the calling thread's current render context), lies inside the bounds. Every edge counts
  // as inside.
  bool HitTest(float x, float y, const D3DXMATRIX& inverseView) const;

  MediaParamT<int> xMin{0};
  MediaParamT<int> xMax{0};
  MediaParamT<int> yMin{0};
  MediaParamT<int> yMax{0};
  MediaParamTB<int> extra1{0};
  MediaParamTB<int> extra2{0};
};

// Six Int32: x minimum, x maximum, y minimum, y maximum, first and second extra value, stored
// straight into the values (no notification; the undo controls keep their old saved copies).
void ReadMediaRectangle(DS_IOF_Archive& archive, MediaRectangle& rect);
void WriteMediaRectangle(DS_IOF_Archive& archive, const MediaRectangle& rect);
