#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/param/callback_ctrl_set.h"
#include "core/param/media_param_t.h"
#include "core/param/owned_control_list.h"

namespace {

struct Owner {
  explicit Owner(int* destroyedCount) : destroyed(destroyedCount) {}
  virtual ~Owner() { ++*destroyed; }
  void Rebuild() { ++rebuilds; }
  void OnCount(unsigned value) { counts.push_back(value); }

  int rebuilds = 0;
  std::vector<unsigned> counts;
  int* destroyed;
};

TEST(SmartCalbackCtrl, CallsTheMemberOnEveryChangeAndReentersForNestedChanges) {
  struct Clamp {
    MediaParamT<int>* param;
    int calls = 0;
    void Apply() {
      ++calls;
      if (param->Value() > 10) param->SetValue(10);  // changes the watched parameter again
    }
  };
  MediaParamT<int> param(0);
  Clamp clamp{&param};
  SmartCalbackCtrl<Clamp> control(&Clamp::Apply, &clamp, &param);
  param.SetValue(50);
  EXPECT_EQ(param.Value(), 10);
  EXPECT_EQ(clamp.calls, 2);
  control.OnParamChanged(nullptr);  // fired once by hand: calls at once
  EXPECT_EQ(clamp.calls, 3);
}

TEST(DsFunLightCtrl, PassesTheNewValue) {
  int destroyed = 0;
  Owner owner(&destroyed);
  MediaParamT<unsigned> param(1);
  DS_FunLightCtrl<unsigned, Owner> control(&Owner::OnCount, &owner, &param);
  param.SetValue(4);
  param.SetValue(4);
  EXPECT_EQ(owner.counts, (std::vector<unsigned>{4}));
}

TEST(CallbackCtrlSet, WatchesAndClearsTogether) {
  int destroyed = 0;
  Owner owner(&destroyed);
  MediaParamT<int> a(0), b(0);
  MediaParamT<unsigned> count(3);
  {
    CallbackCtrlSet<Owner> set(&owner);
    set.Watch(&Owner::Rebuild, a);
    set.Watch(&Owner::Rebuild, b);
    set.WatchUnsigned(count, &Owner::OnCount);
    EXPECT_EQ(owner.counts, (std::vector<unsigned>{3})) << "told once at once";
    a.SetValue(1);
    b.SetValue(1);
    count.SetValue(7);
    EXPECT_EQ(owner.rebuilds, 2);
    EXPECT_EQ(owner.counts, (std::vector<unsigned>{3, 7}));

    set.Clear();
    EXPECT_EQ(a.ControlCount(), 1) << "only the undo control stays";
    a.SetValue(2);
    EXPECT_EQ(owner.rebuilds, 2);
  }
  EXPECT_EQ(destroyed, 0) << "a set that does not own its owner leaves it alive";
}

// Destroying a parameter and then the set deletes the controls without touching the parameter
// (AddressSanitizer reports any use after free).
TEST(CallbackCtrlSet, OutlivingItsParameterAndOwningItsOwner) {
  int destroyed = 0;
  auto* owner = new Owner(&destroyed);
  auto set = std::make_unique<CallbackCtrlSet<Owner>>(owner, true);
  auto param = std::make_unique<MediaParamT<int>>(0);
  set->Watch(&Owner::Rebuild, *param);
  param.reset();
  set.reset();
  EXPECT_EQ(destroyed, 1);
}

// The list a shape fills for an owner it cannot name: functions instead of members.
TEST(OwnedControlList, CallsFunctionsUntilClearedOrDestroyed) {
  int calls = 0;
  MediaParamT<int> kept(0);
  auto gone = std::make_unique<MediaParamT<int>>(0);
  {
    OwnedControlList list;
    list.Watch(kept, [&calls] { ++calls; });
    SmartFunctionCtrl& second = list.Watch(*gone, [&calls] { calls += 10; });
    kept.SetValue(1);
    gone->SetValue(1);
    EXPECT_EQ(calls, 11);
    gone.reset();
    EXPECT_EQ(second.Watched(), nullptr) << "detached by its parameter";
    EXPECT_EQ(list.Size(), 2u);
  }
  EXPECT_EQ(kept.ControlCount(), 1) << "destroying the list unsubscribes its controls";
  kept.SetValue(2);
  EXPECT_EQ(calls, 11);
}

}  // namespace
