#pragma once

#include "platform/gfx/descs.h"

// The descriptions of back buffer 0 and of render target 0 of the current device. Without a
// device or a surface the description is all zero (width 0), which callers take as none.
gfx::SurfaceDesc& GetBackBufferDesc(gfx::SurfaceDesc& out);
gfx::SurfaceDesc& GetRenderTargetDesc(gfx::SurfaceDesc& out);
