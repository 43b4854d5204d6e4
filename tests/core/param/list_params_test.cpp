#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/archive/archive_fixture.h"
#include "core/archive/ds_iof_w.h"
#include "core/param/list_media_param_impl.h"
#include "core/param/recording_control.h"
#include "core/param/smart_vector.h"

namespace {

using Log = std::vector<std::string>;

struct Segment {
  explicit Segment(int id_) : id(id_) {}
  int id;
};

// A list kind as the particle engine's line node makes one: new segments are numbered.
class SegmentList : public ListMediaParam_Impl<Segment> {
 public:
  bool AddItem() override {
    return InsertAfterCurrent(DS_SafePtr<Segment>(std::make_unique<Segment>(nextId++)));
  }
  zkw_string GetItemName(int index) const override {
    return u"Segment " + zkw_string(1, static_cast<char16_t>(u'0' + index + 1));
  }
  std::vector<int> Ids() const {
    std::vector<int> ids;
    for (const auto& item : Value())
      ids.push_back(item->id);
    return ids;
  }
  int nextId = 1;
};

void AddItems(SegmentList& list, int count) {
  for (int i = 0; i < count; ++i)
    list.ExecuteCommand(AListMediaParam::kAddItem, nullptr);
}

TEST(ListCommands, EditAtTheCurrentItemAndAlwaysNotify) {
  SegmentList list;
  Log log;
  RecordingControl watcher("w", &log, &list);
  list.ExecuteCommand(AListMediaParam::kAddItem, nullptr);
  EXPECT_EQ(list.Ids(), (std::vector<int>{1}));
  EXPECT_EQ(list.currentIndex, 0);
  EXPECT_EQ(log.size(), 2u) << "the first add announces the new index, then the command";
  list.ExecuteCommand(AListMediaParam::kAddItem, nullptr);
  list.ExecuteCommand(AListMediaParam::kAddItem, nullptr);
  EXPECT_EQ(list.Ids(), (std::vector<int>{1, 3, 2})) << "inserted after the current item";

  struct Step {
    int command;
    std::vector<int> ids;
    int current;
  };
  const Step steps[] = {
      {AListMediaParam::kMoveItemUp, {1, 3, 2}, 0},    // the first item cannot move up
      {AListMediaParam::kMoveItemDown, {3, 1, 2}, 1},  //
      {2, {3, 1, 2}, 2},                               // selection
      {AListMediaParam::kMoveItemDown, {3, 1, 2}, 2},  // the last item cannot move down
      {AListMediaParam::kRemoveItem, {3, 1}, 1},       // removing the last selects the new last
      {AListMediaParam::kMoveItemUp, {1, 3}, 0},
      {-9, {1, 3}, 0},  // an unknown command does nothing
  };
  for (const Step& s : steps) {
    log.clear();
    list.ExecuteCommand(s.command, &watcher);
    EXPECT_EQ(list.Ids(), s.ids) << s.command;
    EXPECT_EQ(list.currentIndex, s.current) << s.command;
    EXPECT_TRUE(log.empty()) << "the source is skipped";
  }
  RecordingControl other("other", &log, &list);
  list.ExecuteCommand(AListMediaParam::kMoveItemUp, &watcher);
  EXPECT_EQ(log, Log{"other"}) << "a command that changes nothing still notifies";
}

TEST(ListCommands, RemovingTheOnlyItemLeavesNoSelection) {
  SegmentList list;
  AddItems(list, 1);
  list.ExecuteCommand(AListMediaParam::kRemoveItem, nullptr);
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.currentIndex, -1);
}

TEST(ListCommands, IndicesOutsideTheListChangeNothing) {
  SegmentList list;
  AddItems(list, 3);
  const std::vector<int> ids = list.Ids();
  for (int selection : {-1, 3, 50}) {
    list.currentIndex = selection;  // a selection command stores any index >= 0 unchecked
    for (int command : {AListMediaParam::kMoveItemDown, AListMediaParam::kMoveItemUp,
                        AListMediaParam::kRemoveItem}) {
      list.currentIndex = selection;
      list.ExecuteCommand(command, nullptr);
      EXPECT_EQ(list.Ids(), ids) << selection << " " << command;
    }
  }
  list.ExecuteCommand(50, nullptr);
  EXPECT_EQ(list.currentIndex, 50);
  list.ExecuteCommand(AListMediaParam::kAddItem, nullptr);
  EXPECT_EQ(list.Ids().back(), 4) << "adding after an index past the end appends";
  EXPECT_EQ(list.MoveItemDown(-1), 0);
  EXPECT_EQ(list.MoveItemUp(4), 0);
  EXPECT_EQ(list.GetItemName(0), u"Segment 1");
}

TEST(ListMediaParam_Impl, UndoRestoresWholeItemVectors) {
  struct Manager : UndoManager {
    void Record(UndoCtrl*, MediaControl*) override { ++records; }
    int records = 0;
  } manager;
  SegmentList list;
  AddItems(list, 2);
  DS_SafePtr<Segment> first = list.Value()[0];
  list.UndoControl().Commit();
  list.Clear();
  list.NotifyChanged(nullptr);  // owning code's change: saved copy follows, no record
  EXPECT_EQ(list.UndoControl().Saved().size(), 0u);
  EXPECT_EQ(first.Count(), 2) << "kept alive by the history entry besides this handle";

  Log log;
  RecordingControl watcher("w", &log, &list);
  SetUndoManager(&manager);
  list.ExecuteCommand(AListMediaParam::kAddItem, &watcher);
  SetUndoManager(nullptr);
  EXPECT_EQ(manager.records, 1) << "a change from a control reaches the manager";

  list.UndoControl().Undo();
  EXPECT_EQ(list.Ids(), (std::vector<int>{1, 2}));
  EXPECT_EQ(log, Log{"w"}) << "the write-back notifies the other controls";
}

TEST(SmartVector, InsertSelectsAndNotifies) {
  ZKW_SmartVector<uint32_t> colors;
  EXPECT_EQ(colors.currentIndex.Value(), -1);
  Log log;
  RecordingControl onVector("vector", &log, &colors), onIndex("index", &log, &colors.currentIndex);
  EXPECT_EQ(colors.Insert(0, 7), 0);
  EXPECT_EQ(colors.Insert(0, 8), 0);
  EXPECT_EQ(colors.Insert(9, 9), 2);
  EXPECT_EQ(colors.Value(), (std::vector<uint32_t>{8, 7, 9}));
  EXPECT_EQ(log, (Log{"index", "vector", "vector", "index", "vector"}))
      << "the index is announced only when it changes";

  ZKW_SmartVectorPtr<Segment> points;
  DS_SafePtr<Segment> a(std::make_unique<Segment>(1));
  points.Insert(0, a);
  {
    ZKW_SmartVectorPtr<Segment> copy(points);
    EXPECT_EQ(a.Count(), 5) << "this handle, the vector, its undo copy, and the copy's two";
  }
  EXPECT_EQ(a.Count(), 3);
}

TEST(SmartArray, SelectionIsPartOfTheValue) {
  ZKW_SmartArray<uint32_t> array;
  array.Insert(0, 5);
  array.Insert(0, 6);
  EXPECT_EQ(array.Value(), (std::pair<int, std::vector<uint32_t>>{0, {6, 5}}));
  array.UndoControl().Commit();
  array.SetValue({1, {6, 5}});
  array.UndoControl().Undo();
  EXPECT_EQ(array.Value().first, 0) << "undo restores the selection with the elements";
}

TEST(CustomSelector, SelectStoresSilentlyAndSharesTheObject) {
  ZKW_T_CustomSelector<int, Segment> selector(0);
  Log log;
  RecordingControl watcher("w", &log, &selector);
  DS_SafePtr<Segment> first(std::make_unique<Segment>(1)), second(std::make_unique<Segment>(2));
  selector.Select(3, first);
  selector.Select(3, second);
  EXPECT_EQ(selector.Value(), 3);
  EXPECT_EQ(selector.UndoControl().Saved(), 3);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(first.Count(), 1) << "the entry's old handle was released";
  EXPECT_EQ(second.Count(), 2);
  selector.Select(3, selector.objects[3]);
  EXPECT_EQ(second.Count(), 2) << "selecting an entry's own object changes nothing";
}

TEST(DwordVector, ReadsCountedValues) {
  DS_IOF_W w;
  w.WriteDword(0);
  w.WriteDword(2);
  w.WriteDword(10);
  w.WriteDword(20);
  ArchiveSource in(SourceMode::Memory, w.Bytes());
  std::vector<uint32_t> values{1, 2, 3};
  ReadDwordVector(in.archive(), values);
  EXPECT_TRUE(values.empty());
  ReadDwordVector(in.archive(), values);
  EXPECT_EQ(values, (std::vector<uint32_t>{10, 20}));
  EXPECT_FALSE(in.archive().Failed());
}

}  // namespace
