#include "core/param/alist_media_param.h"

void AListMediaParam::ExecuteCommand(int command, MediaControl* source) {
  BeforeCommand(command);
  if (command >= 0) {
    currentIndex = command;
  } else {
    switch (command) {
      case kAddItem:
        AddItem();
        break;
      case kRemoveItem:
        RemoveItem(currentIndex);
        if (currentIndex >= GetCount()) currentIndex = GetCount() - 1;
        break;
      case kMoveItemUp:
        currentIndex -= MoveItemUp(currentIndex);
        break;
      case kMoveItemDown:
        currentIndex += MoveItemDown(currentIndex);
        break;
      case kItemCommand:
        ItemCommand(currentIndex);
        break;
      default:
        break;
    }
  }
  NotifyChanged(source);
}
