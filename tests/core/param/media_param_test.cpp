#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "core/param/media_param_t.h"
#include "core/param/recording_control.h"

namespace {

using Log = std::vector<std::string>;

TEST(MediaParam, NotifiesInSubscriptionOrderUndoFirstAndSkipsTheSource) {
  MediaParamT<int> param(1);
  Log log;
  RecordingControl a("a", &log, &param), b("b", &log, &param), c("c", &log, &param);
  int savedSeenByA = -1;
  a.action = [&] { savedSeenByA = param.UndoControl().Saved(); };

  param.RawValue() = 7;
  param.NotifyChanged(nullptr);
  EXPECT_EQ(log, (Log{"a", "b", "c"}));
  EXPECT_EQ(savedSeenByA, 7) << "the undo control is told before every other control";

  log.clear();
  param.NotifyChanged(&b);
  EXPECT_EQ(log, (Log{"a", "c"}));
  EXPECT_EQ(a.lastSource, &b);
}

TEST(MediaParam, ControlSubscribedTwiceIsToldTwiceAndRemovedOnce) {
  MediaParamTB<int> param;
  Log log;
  RecordingControl a("a", &log);
  param.AddControl(&a);
  param.AddControl(&a);
  param.SetValue(3);
  EXPECT_EQ(log, (Log{"a", "a"}));
  param.RemoveControl(&a);
  param.RemoveControl(&a);  // not subscribed any more: nothing changes
  EXPECT_EQ(param.ControlCount(), 0);
  param.SetValue(4);
  EXPECT_EQ(log.size(), 2u);
}

TEST(MediaParam, EqualSetValueNotifiesNobody) {
  MediaParamT<std::u16string> text(u"abc");
  Log log;
  RecordingControl a("a", &log, &text);
  EXPECT_FALSE(text.SetValue(u"abc"));
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(text.SetValue(u"abd"));
  EXPECT_EQ(text.UndoControl().Saved(), u"abd");
  EXPECT_EQ(log, (Log{"a"}));

  MediaParamT<float> nan(std::numeric_limits<float>::quiet_NaN());
  RecordingControl b("b", &log, &nan);
  EXPECT_TRUE(nan.SetValue(std::numeric_limits<float>::quiet_NaN())) << "a NaN never equals";
}

// Controls that unsubscribe themselves or others while they are told must not break the walk:
// the removed control is not told again and the list is compact afterwards.
TEST(MediaParam, RemovalDuringNotificationKeepsTheWalkIntact) {
  MediaParamTB<int> param;
  Log log;
  auto a = std::make_unique<RecordingControl>("a", &log, &param);
  auto b = std::make_unique<RecordingControl>("b", &log, &param);
  auto c = std::make_unique<RecordingControl>("c", &log, &param);
  auto d = std::make_unique<RecordingControl>("d", &log, &param);
  a->action = [&] { c.reset(); };  // deletes a later control: it must not be called
  b->action = [&] { param.RemoveControl(b.get()); };  // unsubscribes itself while told
  param.SetValue(1);
  EXPECT_EQ(log, (Log{"a", "b", "d"}));
  EXPECT_EQ(param.ControlCount(), 2);

  log.clear();
  param.SetValue(2);
  EXPECT_EQ(log, (Log{"a", "d"}));
  b.reset();
}

TEST(MediaParam, NestedChangesAndControlsAddedDuringAWalk) {
  MediaParamTB<int> param;
  Log log;
  RecordingControl a("a", &log, &param);
  RecordingControl late("late", &log);
  bool added = false;
  a.action = [&] {
    if (param.Value() == 1) param.SetValue(2);  // re-enters the notification
    if (!added) {
      added = true;
      param.AddControl(&late);
    }
  };
  param.SetValue(1);
  // Outer walk: a (sets 2: inner walk a, late), then late again in the outer walk.
  EXPECT_EQ(log, (Log{"a", "a", "late", "late"}));
  param.RemoveControl(&late);
}

TEST(MediaParam, CopiesHaveNoObserversAndNoHistory) {
  MediaParamT<int> original(5);
  Log log;
  RecordingControl a("a", &log, &original);
  MediaParamT<int> copy(original);
  EXPECT_EQ(copy.Value(), 5);
  EXPECT_EQ(copy.ControlCount(), 1) << "only its own undo control";
  EXPECT_TRUE(copy.UndoControl().History().empty());
  copy.SetValue(6);
  EXPECT_TRUE(log.empty());

  // Assignment takes the value silently and keeps the target's observers.
  MediaParamT<int> target(0);
  RecordingControl b("b", &log, &target);
  target = original;
  EXPECT_EQ(target.Value(), 5);
  EXPECT_EQ(target.UndoControl().Saved(), 5);
  EXPECT_TRUE(log.empty());
  target.SetValue(9);
  EXPECT_EQ(log, (Log{"b"}));
}

// A parameter that dies before its control detaches it; the control's destructor then leaves
// the freed parameter alone (AddressSanitizer would report the use after free).
TEST(MediaParam, ParameterDyingBeforeItsControlDetachesIt) {
  RecordingControl* survivor = nullptr;
  {
    auto param = std::make_unique<MediaParamT<int>>(1);
    survivor = new RecordingControl("s", nullptr, param.get());
    param.reset();
    EXPECT_EQ(survivor->detached, 1);
  }
  delete survivor;
}

TEST(ZkwMediaFloat, CommandsStepTheValue) {
  ZKW_MediaFloat param(2.0f);
  Log log;
  RecordingControl a("a", &log, &param), b("b", &log, &param);
  param.ExecuteCommand(0, &b);
  EXPECT_EQ(param.Value(), 3.0f);
  EXPECT_EQ(log, (Log{"a"}));
  param.ExecuteCommand(1, nullptr);
  EXPECT_EQ(param.Value(), 2.0f);
  param.ExecuteCommand(7, nullptr);
  EXPECT_EQ(param.Value(), 2.0f);
  EXPECT_EQ(log.size(), 3u);

  param.SetValue(1e10f);
  log.clear();
  param.ExecuteCommand(0, nullptr);  // 1e10 + 1 rounds back to 1e10
  EXPECT_TRUE(log.empty());
}

}  // namespace
