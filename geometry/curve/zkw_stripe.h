#pragma once

#include <utility>

#include "core/ds_safe_ptr.h"
#include "geometry/offset/zkw_curve_offset_maker.h"

// A smart curve C that owns an offsetter, which gives it a band (a stripe) on both sides. The
// offset kinds make their offsetter when they are made; a plain stripe holds the one it is given
// (none by default). A copy shares the offsetter.
template <class C>
class ZKW_Stripe : public C {
 public:
  ZKW_Stripe() = default;
  explicit ZKW_Stripe(DS_SafePtr<ZKW_CurveOffsetMaker> offsetter)
      : offsetter_(std::move(offsetter)) {}
  ZKW_Stripe(const ZKW_Stripe&) = default;

  ZKW_CurveOffsetMaker* GetOffsetMaker() override { return offsetter_.Get(); }
  const ZKW_CurveOffsetMaker* GetOffsetMaker() const override { return offsetter_.Get(); }

 private:
  DS_SafePtr<ZKW_CurveOffsetMaker> offsetter_;
};
