#pragma once

#include <cstdint>

#include "player/render/quad_corners.h"

// How the document's objects map between scene units and pixels: the back buffer's size over
// the view's, the view's corners and the picture size. The slide renderer writes it when it sets
// its view; a new view has scales and sizes 0 and the unit corners.
struct SceneView {
  SceneView() { quad.Init(); }

  float scaleX = 0.0f;
  float scaleY = 0.0f;
  QuadCorners quad;
  uint32_t pictureWidth = 0;
  uint32_t pictureHeight = 0;
};

// The current document's view; without a current document, one process-wide default view.
SceneView* GetSceneView();
