#include "player/render/prerender_surface.h"

#include "player/render/render_target_set.h"

void ZKW_PrerenderSurface::OnResetDevice() {
  OnLostDevice();
  texture = MakeRenderTarget(width, height);
}
