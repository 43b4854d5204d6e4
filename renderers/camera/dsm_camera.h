#pragma once

#include <cstdint>

#include "core/link/ds_file_link.h"
#include "core/object/ds_iof_item.h"
#include "core/param/media_param_t.h"
#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "geometry/path/smart_path.h"
#include "platform/math/d3dx_types.h"
#include "player/render/quad_corners.h"

// The slide camera: it holds the picture still (mode 0), drifts over it with slow random moves
// and pauses (mode 1), or travels back and forth along a path of points with travel times and
// zooms (mode 2), easing in and out of every move. Each frame it writes the render context's
// camera world and camera offset; it decides how large a part of the picture the view shows.
class DSM_Camera : public DS_IOF_Item {
 public:
  static constexpr uint32_t kVersion = 3;

  DSM_Camera();

  // "DSM_Camera" version 3: mode, frame size, the path points, zoom, speed, picture link.
  bool Save(DS_IOF_Archive& archive) const override;
  // Versions 1 and 2 store only whether the camera drifts; version 1 has no picture link.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Switches the camera on or off and starts it from the picture's centre (in mode 2 from the
  // first path point), then applies the view. Answers whether it was on before.
  bool Enable(bool on, const QuadCorners& view, const Size& picture, int fitMode);
  // One frame at slide time t (seconds): the camera clock advances by the speed (steps of at
  // most 0.2 s), a new move is picked when the current one is over, and the render context
  // gets the camera world and offset of the eased position.
  void Update(float t);
  // Hands the render context the view: the whole picture, or while the camera is on (and the
  // fit mode is not 3) the part it shows: picture / zoom in mode 1, the frame size in mode 2.
  void ApplyView(const QuadCorners& view, const Size& picture, int fitMode, bool keepView);
  // The frame size of mode 2 becomes 80 % of the picture's.
  void SetFrameSize(uint32_t width, uint32_t height);

  bool IsEnabled() const { return enabled == 1; }
  // The drift zoom of mode 1 as used: 0, which the view size and the targets divide by, counts
  // as 1. (A path point's zoom is its percent x 0.01 as it is.)
  float Zoom() const;

  MediaParamT<int> mode{0};
  UINTSclaleTo<float> zoom{120, 0.01f, 0.0f};
  MediaSpeedParam speed;
  int enabled = 0;
  DS_ImageFileLink pictureLink{u"glimres.dll", 6};
  MediaParamT<unsigned> frameWidth{0};
  MediaParamT<unsigned> frameHeight{0};
  CameraPath path;

  D3DXVECTOR3 from, to;
  float zoomFrom = 1.0f, zoomTo = 1.0f;
  float startTime = 0.0f, switchTime = 0.0f;
  int cursor = 0;  // index into the path's points
  uint8_t forward = 1;
  uint32_t pictureWidth = 0, pictureHeight = 0;
  float clock = 0.0f, lastTime = 0.0f, lastStep = 0.0f;

 private:
  void PickNextTarget(float now);
};
