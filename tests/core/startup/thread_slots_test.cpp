#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "core/startup/thread_slots.h"

namespace {

struct Current {
  explicit Current(int* destroyed) : destroyed(destroyed) {}
  ~Current() { ++*destroyed; }
  int* destroyed;
};

using CurrentSlot = ThreadSlot<Current>;
using OwnedSlot = OwningThreadSlot<Current>;

TEST(ThreadSlot, EachThreadHasItsOwnValue) {
  int destroyed = 0;
  Current mine(&destroyed);
  CurrentSlot::Set(&mine);
  Current* seenElsewhere = &mine;
  std::thread([&] { seenElsewhere = CurrentSlot::Get(); }).join();
  EXPECT_EQ(seenElsewhere, nullptr) << "a thread that never stored a value reads null";
  EXPECT_EQ(CurrentSlot::Get(), &mine);
  CurrentSlot::Set(nullptr);
}

TEST(OwningThreadSlot, InstallingFreesThePreviousAndAThreadFreesItsOwn) {
  int destroyed = 0;
  OwnedSlot::Install(std::make_unique<Current>(&destroyed));
  Current* first = OwnedSlot::Get();
  OwnedSlot::Install(std::make_unique<Current>(&destroyed));
  EXPECT_EQ(destroyed, 1);
  EXPECT_NE(OwnedSlot::Get(), first);
  OwnedSlot::Reset();
  EXPECT_EQ(destroyed, 2);
  EXPECT_EQ(OwnedSlot::Get(), nullptr);

  std::thread([&] { OwnedSlot::Install(std::make_unique<Current>(&destroyed)); }).join();
  EXPECT_EQ(destroyed, 3) << "the thread's object is freed when the thread ends";
}

// The player's slots compile and read null where their classes are only declared.
TEST(ThreadSlots, PlayerSlotsStartEmpty) {
  EXPECT_EQ(RenderContextTlsSlot::Get(), nullptr);
  EXPECT_EQ(ChronoTlsSlot::Get(), nullptr);
  EXPECT_EQ(DocumentTlsSlot::Get(), nullptr);
}

}  // namespace
