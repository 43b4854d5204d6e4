#pragma once

#include "core/param/media_param.h"
#include "core/zkw_string.h"

// An editable list exposed as numbered commands that an editor sends through ExecuteCommand:
// a command of 0 or more selects that item, the negative ones edit the list at the current item.
// Kinds implement the item operations.
class AListMediaParam : public MediaParam {
 public:
  static constexpr int kAddItem = -1;
  static constexpr int kRemoveItem = -2;
  static constexpr int kMoveItemUp = -3;
  static constexpr int kMoveItemDown = -4;
  static constexpr int kItemCommand = -5;

  // Runs the command, then tells every control but `source`, whatever the command did. A
  // selection is stored as given; the item operations check it against the list.
  void ExecuteCommand(int command, MediaControl* source) override;

  // Adds an item; answers whether it did.
  virtual bool AddItem() = 0;
  virtual bool RemoveItem(int index) = 0;
  // Exchange the item with the one before (up) or after it (down); answer 1 when they did,
  // 0 when the item cannot move that way or the index is outside the list.
  virtual int MoveItemUp(int index) = 0;
  virtual int MoveItemDown(int index) = 0;
  virtual int GetCount() const = 0;
  virtual zkw_string GetItemName(int index) const = 0;
  virtual void Clear() = 0;
  // Called first by every command.
  virtual void BeforeCommand(int command) { (void)command; }
  // The kind's own action on an item.
  virtual void ItemCommand(int index) { (void)index; }

  int currentIndex = -1;
};
