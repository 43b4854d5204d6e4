#include "particles/classic/kinds/target_area.h"

#include "core/scene/scene_services.h"

bool FitAreaToRenderTarget(const ZKW_RenderObjData& description, MediaQuad& area) {
  if (description.keepGuid != 0) return false;
  float width = 0.0f, height = 0.0f;
  CurrentTargetSize(width, height);
  if (width <= 0.0f || height <= 0.0f) return false;
  area.SetRect(width, height, D3DXVECTOR3(width * 0.5f, height * 0.5f, 0.0f));
  return true;
}
