#include "core/param/undo_ctrl.h"

namespace {
UndoManager* g_undoManager = nullptr;
}

UndoManager* GetUndoManager() {
  return g_undoManager;
}
void SetUndoManager(UndoManager* manager) {
  g_undoManager = manager;
}
