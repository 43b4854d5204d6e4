#include "player/document/scene_view.h"

#include "player/document/doc_res_manager.h"

SceneView* GetSceneView() {
  if (DS_DocResManager* document = CurrentDocument()) return &document->sceneView;
  static SceneView defaultView;
  return &defaultView;
}
