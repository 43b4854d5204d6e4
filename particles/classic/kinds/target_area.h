#pragma once

#include "core/param/media_quad.h"
#include "core/scene/zkw_render_obj_data.h"

// When the description's keep-GUID byte is clear, `area` becomes a rectangle of the current
// render target's size centred on the target's middle, and the answer is true; otherwise (or
// without a target size) it stays and the answer is false. Kinds that fill the picture with
// particles refit their area this way when their run-time object is made.
bool FitAreaToRenderTarget(const ZKW_RenderObjData& description, MediaQuad& area);
