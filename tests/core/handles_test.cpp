#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "core/com_ref.h"
#include "core/ds_safe_ptr.h"
#include "core/param/media_param_t.h"

namespace {

struct Counted {
  explicit Counted(int* deleted) : deleted(deleted) {}
  virtual ~Counted() { ++*deleted; }
  int* deleted;
  DS_SafePtr<Counted> next;
};

TEST(DsSafePtr, LastReleaseDeletesOnce) {
  int deleted = 0;
  DS_SafePtr<Counted> a(std::make_unique<Counted>(&deleted));
  DS_SafePtr<Counted> b = a;
  EXPECT_EQ(a.Count(), 2);
  a.Release();
  EXPECT_EQ(a.Get(), nullptr);
  a.Release();  // a null handle: nothing happens
  EXPECT_EQ(deleted, 0);
  DS_SafePtr<Counted>& alias = b;
  b = alias;  // self-assignment keeps the object
  EXPECT_EQ(b.Count(), 1);
  b.Release();
  EXPECT_EQ(deleted, 1);

  DS_SafePtr<Counted> x(std::make_unique<Counted>(&deleted)),
      y(std::make_unique<Counted>(&deleted));
  Counted* xTarget = x.Get();
  swap(x, y);
  EXPECT_EQ(y.Get(), xTarget);
  EXPECT_EQ(x.Count(), 1);
  EXPECT_EQ(y.Count(), 1);
}

// Assigning a handle that only the old target keeps alive must not use it after the old target
// is released.
TEST(DsSafePtr, AssigningFromInsideTheReleasedTarget) {
  int deleted = 0;
  DS_SafePtr<Counted> head(std::make_unique<Counted>(&deleted));
  head->next = DS_SafePtr<Counted>(std::make_unique<Counted>(&deleted));
  Counted* second = head->next.Get();
  head = head->next;
  EXPECT_EQ(head.Get(), second);
  EXPECT_EQ(deleted, 1);
}

TEST(DsSafePtr, HandleParameterComparesTargets) {
  int deleted = 0;
  DS_SafePtr<Counted> object(std::make_unique<Counted>(&deleted));
  MediaParamT<DS_SafePtr<Counted>> param(object);
  DS_SafePtr<Counted> sameTarget = object;
  EXPECT_FALSE(param.SetValue(sameTarget));
  EXPECT_EQ(object.Count(), 4) << "object, sameTarget, the value and the undo copy";
  EXPECT_TRUE(param.SetValue(DS_SafePtr<Counted>()));
  EXPECT_EQ(object.Count(), 2);
  EXPECT_TRUE((DS_SafePtr<Counted>() == DS_SafePtr<Counted>(std::unique_ptr<Counted>())));
}

struct Derived : Counted {
  Derived(int* deleted, int* derivedDeleted) : Counted(deleted), derivedDeleted(derivedDeleted) {
    if (derivedDeleted == nullptr) throw std::runtime_error("no counter");
  }
  ~Derived() override { ++*derivedDeleted; }
  int* derivedDeleted;
};

// A pooled handle lives in one block with its holder and is shared and deleted like any other;
// a constructor that throws leaves nothing behind.
TEST(DsSafePtr, PooledObjectsShareTheHandleRules) {
  int deleted = 0, derivedDeleted = 0;
  DS_SafePtr<Counted> a = DS_SafePtr<Counted>::MakePooled<Derived>(&deleted, &derivedDeleted);
  ASSERT_NE(a.Get(), nullptr);
  a->next = DS_SafePtr<Counted>::MakePooled<Counted>(&deleted);
  DS_SafePtr<Counted> b = a;
  EXPECT_EQ(b.Count(), 2);
  a.Release();
  EXPECT_EQ(deleted, 0);
  b = b->next;  // the old target goes, and with it the last other handle to the new one
  EXPECT_EQ(deleted, 1);
  EXPECT_EQ(derivedDeleted, 1);
  EXPECT_EQ(b.Count(), 1);
  b.Release();
  EXPECT_EQ(deleted, 2);
  EXPECT_THROW(DS_SafePtr<Counted>::MakePooled<Derived>(&deleted, nullptr), std::runtime_error);
  EXPECT_EQ(deleted, 3) << "the base made before the throw is unmade";
  EXPECT_EQ(derivedDeleted, 1);
}

struct Interface {
  int refs = 1;
  void AddRef() { ++refs; }
  void Release() { --refs; }
};

TEST(ComRef, CopiesAddAReferenceAndResetReleases) {
  Interface object;
  {
    ComRef<Interface> a(&object);
    ComRef<Interface> b = a;
    EXPECT_EQ(object.refs, 2);
    a.Reset();
    EXPECT_EQ(a.Get(), nullptr);
    EXPECT_EQ(object.refs, 1);
    a = std::move(b);
    EXPECT_EQ(object.refs, 1);
  }
  EXPECT_EQ(object.refs, 0);
}

}  // namespace
