// Values of the linear and the circular gradient over the plane.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/archive/archive_fixture.h"
#include "core/timing/timing_test_support.h"
#include "geometry/gradient/zkw_vgradient_circular.h"
#include "geometry/gradient/zkw_vgradient_linear.h"

namespace {

using V = D3DXVECTOR3;

struct ValueCase {
  V point;
  float value;
};

TEST(GradientValues, DefaultLinearRampsFromOneToZero) {
  const ZKW_VGradient_Linear linear;
  for (const ValueCase& c : std::vector<ValueCase>{{V(0, 0, 0), 1.0f},
                                                   {V(50, 50, 0), 0.5f},
                                                   {V(100, 100, 0), 0.0f},
                                                   {V(-10, -10, 0), 1.0f},
                                                   {V(200, 0, 0), 0.0f},
                                                   {V(100, 0, 0), 0.5f},
                                                   {V(100, 100, 50), 0.0f},
                                                   {V(300, 300, 0), 0.0f}}) {
    EXPECT_FLOAT_EQ(linear.ValueAt(&c.point), c.value)
        << c.point.x << ", " << c.point.y << ", " << c.point.z;
  }
}

TEST(GradientValues, DefaultCircularFallsFromTheCentreToTheRim) {
  const ZKW_VGradient_Circular circular;
  const float rim = 100 * std::sqrt(2.0f);
  const float half = rim / 2;
  for (const ValueCase& c : std::vector<ValueCase>{{V(0, 0, 0), 1.0f},
                                                   {V(half, 0, 0), 0.5f},
                                                   {V(0, -half, 0), 0.5f},
                                                   {V(-50, -50, 0), 0.5f},
                                                   {V(100, 100, 0), 0.0f},
                                                   {V(-rim, 0, 0), 0.0f},
                                                   {V(500, 0, 0), 0.0f}}) {
    EXPECT_NEAR(circular.ValueAt(&c.point), c.value, 1e-6f) << c.point.x << ", " << c.point.y;
  }
}

TEST(GradientValues, StoredPercentsAboveHundredGiveValuesAboveOne) {
  ZKW_VGradient_Circular circular;
  ZKW_VGradient_Linear linear;
  const std::vector<uint8_t> record = WrittenBytes([](DS_IOF_Archive& a) {
    for (float f : {0.0f, 0.0f, 0.0f, 10.0f, 0.0f, 0.0f})
      a.io().WriteFloat(f);
    a.io().WriteUInt32(50);
    a.io().WriteUInt32(150);
    WriteRecordHeader(a, u"ZKW_VGradient", 1);
  });
  {
    ArchiveSource source(SourceMode::Memory, record);
    linear.ReadBody(source.archive(), 1);
    EXPECT_FALSE(source.archive().Failed());
  }
  {
    std::vector<uint8_t> wrapped =
        WrittenBytes([](DS_IOF_Archive& a) { WriteRecordHeader(a, u"ZKW_VGradient_Linear", 1); });
    Append(wrapped, record);
    ArchiveSource source(SourceMode::Memory, wrapped);
    circular.ReadBody(source.archive(), 1);
    EXPECT_FALSE(source.archive().Failed());
  }
  const V s(0, 0, 0), mid(5, 0, 0), e(10, 0, 0);
  EXPECT_FLOAT_EQ(linear.ValueAt(&s), 0.5f);
  EXPECT_FLOAT_EQ(linear.ValueAt(&mid), 1.0f);
  EXPECT_FLOAT_EQ(linear.ValueAt(&e), 1.5f);
  EXPECT_FLOAT_EQ(circular.ValueAt(&s), 0.5f);
  EXPECT_FLOAT_EQ(circular.ValueAt(&mid), 1.0f);
  EXPECT_FLOAT_EQ(circular.ValueAt(&e), 1.5f);
}

TEST(GradientValues, CoincidentPointsGiveTheStartOrTheEndValueNeverNaN) {
  ZKW_VGradient_Linear linear;
  ZKW_VGradient_Circular circular;
  for (ZKW_VGradient_Linear* g : {&linear, static_cast<ZKW_VGradient_Linear*>(&circular)}) {
    g->start.SetValue(V(5, 5, 0));
    g->end.SetValue(V(5, 5, 0));
    g->startValue.SetValue(80);
    g->endValue.SetValue(30);
  }
  for (const V& p : {V(5, 5, 0), V(0, 0, 0), V(1e30f, -1e30f, 0)}) {
    EXPECT_FLOAT_EQ(linear.ValueAt(&p), 0.8f) << p.x;
    EXPECT_FLOAT_EQ(circular.ValueAt(&p), 0.3f) << p.x;
  }
}

TEST(GradientValues, PointsOutOfFloatRangeGiveAnEndValue) {
  const ZKW_VGradient_Linear linear;
  const ZKW_VGradient_Circular circular;
  const float nan = std::nanf("");
  for (const V& p : {V(nan, 0, 0), V(INFINITY, INFINITY, 0), V(-INFINITY, INFINITY, 0)}) {
    EXPECT_FALSE(std::isnan(linear.ValueAt(&p)));
    EXPECT_FLOAT_EQ(circular.ValueAt(&p), 0.0f);
  }
}

}  // namespace
