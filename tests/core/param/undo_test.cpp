#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/ds_safe_ptr.h"
#include "core/param/media_param_t.h"
#include "core/param/recording_control.h"

namespace {

using Log = std::vector<std::string>;

// A recording undo manager for tests: it commits every change it is told of, as an editor would
// after each edit, and remembers who asked.
class CommittingManager : public UndoManager {
 public:
  CommittingManager() { SetUndoManager(this); }
  ~CommittingManager() override { SetUndoManager(nullptr); }
  void Record(UndoCtrl* control, MediaControl* source) override {
    sources.push_back(source);
    control->Commit();
  }
  std::vector<MediaControl*> sources;
};

// An editing control: the source of the edits made through it.
class Editor : public MediaControl {
 public:
  void OnParamChanged(MediaControl*) override {}
};

TEST(UndoCtrl, WithoutManagerOnlyTheSavedCopyFollows) {
  ASSERT_EQ(GetUndoManager(), nullptr);
  MediaParamT<int> param(1);
  Editor editor;
  param.SetValue(2, &editor);
  EXPECT_EQ(param.UndoControl().Saved(), 2);
  EXPECT_TRUE(param.UndoControl().History().empty());
  // Undo on an empty history changes nothing and notifies nobody.
  Log log;
  RecordingControl watcher("w", &log, &param);
  param.UndoControl().Undo();
  param.UndoControl().Redo();
  EXPECT_EQ(param.Value(), 2);
  EXPECT_TRUE(log.empty());
}

TEST(UndoCtrl, OnlyChangesFromAControlReachTheManager) {
  CommittingManager manager;
  MediaParamT<int> param(0);
  Editor editor;
  param.SetValue(1);  // owning code: null source
  param.SetValueSilently(2);
  EXPECT_TRUE(manager.sources.empty());
  param.SetValue(3, &editor);
  ASSERT_EQ(manager.sources.size(), 1u);
  EXPECT_EQ(manager.sources[0], &editor);
  EXPECT_EQ(param.UndoControl().History(), (std::list<int>{2})) << "the value before the edit";
  // The write-back of Undo has the undo control as its source and is not recorded again.
  param.UndoControl().Undo();
  EXPECT_EQ(param.Value(), 2);
  EXPECT_EQ(manager.sources.size(), 1u);
}

TEST(UndoCtrl, UndoAndRedoExchangeValues) {
  CommittingManager manager;
  MediaParamT<int> param(10);  // A
  Editor editor;
  Log log;
  RecordingControl watcher("w", &log, &param);
  param.SetValue(20, &editor);  // B
  auto& undo = param.UndoControl();

  undo.Undo();
  EXPECT_EQ(param.Value(), 10);
  EXPECT_EQ(undo.History(), (std::list<int>{20})) << "the entry keeps the value Redo restores";
  undo.Redo();
  EXPECT_EQ(param.Value(), 20);
  EXPECT_EQ(undo.History(), (std::list<int>{10}));
  EXPECT_EQ(log.size(), 3u);
}

TEST(UndoCtrl, HistoryKeepsTheTwentyNewestAndCommitDropsTheRedoBranch) {
  CommittingManager manager;
  MediaParamT<int> param(0);
  Editor editor;
  for (int v = 1; v <= 21; ++v)
    param.SetValue(v, &editor);
  auto& undo = param.UndoControl();
  ASSERT_EQ(undo.History().size(), 20u);
  EXPECT_EQ(undo.History().front(), 20);
  EXPECT_EQ(undo.History().back(), 1) << "the value 0 was the oldest and is dropped";

  undo.Undo();
  undo.Undo();
  EXPECT_EQ(param.Value(), 19);
  EXPECT_EQ(undo.UndoDepth(), 18u);
  param.SetValue(100, &editor);  // replaces the two entries that could have been redone
  EXPECT_EQ(undo.History().size(), 19u);
  EXPECT_EQ(undo.History().front(), 19);
  EXPECT_EQ(undo.UndoDepth(), 19u);

  MediaParamT<int> single(0);
  single.SetValue(1, &editor);
  single.UndoControl().Undo();
  single.SetValue(5, &editor);
  EXPECT_EQ(single.UndoControl().History(), (std::list<int>{0}));
}

struct Shape {
  virtual ~Shape() = default;
};

TEST(UndoCtrl, HandleEntryNamingTheCurrentObjectSwapsButNotifiesNobody) {
  CommittingManager manager;
  auto shape = DS_SafePtr<Shape>(std::make_unique<Shape>());
  MediaParamT<DS_SafePtr<Shape>> param(shape);
  Editor editor;
  Log log;
  RecordingControl watcher("w", &log, &param);
  param.SetValue(DS_SafePtr<Shape>(shape), &editor);  // same object: nothing changes
  EXPECT_TRUE(manager.sources.empty());

  // An entry that names the object the parameter holds.
  param.UndoControl().Commit();
  param.UndoControl().Undo();
  EXPECT_EQ(param.Value().Get(), shape.Get());
  EXPECT_TRUE(log.empty());
}

}  // namespace
