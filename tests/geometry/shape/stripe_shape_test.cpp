// The stripe shape: a band of varying width along a curve shape.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "geometry/graph/vgraph_line.h"
#include "geometry/shape/curve_shape_kinds.h"
#include "geometry/shape/shape_fixture.h"
#include "geometry/shape/zkw_vgeom2d_stripe.h"
#include "geometry/vector_expect.h"

namespace {

using V = D3DXVECTOR3;

// A stripe along the polyline (0, 0) - (100, 0) with width value `width`.
std::unique_ptr<ZKW_VGeom2D_Stripe> StraightStripe(unsigned width) {
  auto stripe = std::make_unique<ZKW_VGeom2D_Stripe>();
  stripe->curve.Get()->InitAsSegment(0, 0, 0, 100, 0, 0);
  stripe->width.value.SetValue(width);
  stripe->RebuildOffsetter();
  return stripe;
}

TEST(StripeShape, DefaultStripeIsItsCentreLine) {
  ZKW_VGeom2D_Stripe fresh;
  ASSERT_NE(dynamic_cast<ZKW_VGeom2D_Polyline*>(fresh.curve.Get()), nullptr);
  EXPECT_EQ(fresh.curve.Get()->Length(), 0.0f);
  EXPECT_EQ(fresh.start.Value(), 0u);
  EXPECT_EQ(fresh.end.Value(), 100u);

  auto stripe = StraightStripe(0);
  V point;
  for (float v : {0.0f, 0.5f, 1.0f}) {
    float uv[2] = {0.25f, v};
    ASSERT_TRUE(stripe->PointAt(uv, &point, nullptr));
    ExpectNear(point, {25, 0, 0}, 1e-4f);
  }
  EXPECT_EQ(stripe->GetSpanAcross(0.5f), 0.0f);
  EXPECT_FLOAT_EQ(stripe->GetSpanAlong(0), 100.0f);
  ExpectNear(*stripe->GetCenter(&point), {50, 0, 0}, 1e-4f);
  EXPECT_FALSE(stripe->IsClosed());
}

TEST(StripeShape, StartAndEndRemapUAndWriteItBack) {
  auto stripe = StraightStripe(0);
  stripe->start.SetValue(20);
  stripe->end.SetValue(60);
  V point;
  float uv[2] = {0.5f, 0.5f};
  ASSERT_TRUE(stripe->PointAt(uv, &point, nullptr));
  EXPECT_FLOAT_EQ(uv[0], 0.4f);
  ExpectNear(point, {40, 0, 0}, 1e-3f);
  ASSERT_TRUE(stripe->PointAtUV(0.5f, 0.5f, &point, nullptr));
  ExpectNear(point, {50, 0, 0}, 1e-3f);
}

TEST(StripeShape, OffsetsAcrossTheBandAndTheirDirections) {
  auto stripe = StraightStripe(10);
  V point, direction;
  float uv[2] = {0.5f, 0};
  ASSERT_TRUE(stripe->PointAt(uv, &point, &direction));
  ExpectNear(point, {50, 5, 0}, 1e-3f);  // offset -5 lies on the left of +x
  // The direction is the quarter turn of what the curve answers, negated on the right. An offset
  // curve answers its ring normal (0, 1, 0), so the band's direction runs along the curve.
  ExpectNear(direction, {-1, 0, 0});
  uv[1] = 1;
  ASSERT_TRUE(stripe->PointAt(uv, &point, &direction));
  ExpectNear(point, {50, -5, 0}, 1e-3f);  // offset +5 lies on the right
  ExpectNear(direction, {1, 0, 0});
  EXPECT_FLOAT_EQ(stripe->GetSpanAcross(0.3f), 10.0f);

  // The spread and the envelope narrow the band.
  stripe->width.spread.SetValue(50);
  stripe->width.envelope.SetGraph(DS_SafePtr<ZKW_VGraph>(
      std::make_unique<ZKW_VGraph_Line>(std::vector<ZKW_VGraph_Line::Point>{{0, 1}, {1, 0}})));
  EXPECT_FLOAT_EQ(stripe->GetSpanAcross(0.5f), 2.5f);
  uv[0] = 0.5f;
  uv[1] = 1;
  ASSERT_TRUE(stripe->PointAt(uv, &point, nullptr));
  ExpectNear(point, {50, -1.25f, 0}, 1e-3f);

  // An offset past the band the offsetter was built for has no point.
  stripe->width.spread.SetValue(0);
  stripe->width.envelope.SetGraph(DS_SafePtr<ZKW_VGraph>(
      std::make_unique<ZKW_VGraph_Line>(std::vector<ZKW_VGraph_Line::Point>{{0, 3}, {1, 3}})));
  point = {7, 7, 7};
  EXPECT_FALSE(stripe->PointAt(uv, &point, &direction));
  EXPECT_EQ(point, V(7, 7, 7));
}

TEST(StripeShape, ReadingBuildsTheOffsetterForTheWidth) {
  RegisterShapeClasses();
  const std::unique_ptr<ZKW_VGeom2D> back = ReadWhole(SavedBytes(*StraightStripe(10)));
  ASSERT_NE(back, nullptr);
  V point;
  ASSERT_TRUE(back->PointAtUV(0.5f, 1, &point, nullptr));
  ExpectNear(point, {50, -5, 0}, 1e-3f);
}

TEST(StripeShape, NormalPointsToTheSideOfThePoint) {
  auto stripe = StraightStripe(10);
  V normal;
  // An offset curve finds no nearest segment.
  ExpectNear(*stripe->NormalAt(&normal, {50, 3, 0}), {1, 0, 0});

  auto cubic = std::make_unique<ZKW_VGeom2D_CubicSpline>();
  DX_BSplinePnt a(0, 0), b(100, 0);
  cubic->AppendNode(&a);
  cubic->AppendNode(&b);
  cubic->GetCurve().Rebuild();
  stripe->curve.Set(std::move(cubic));
  ExpectNear(*stripe->NormalAt(&normal, {50, 3, 0}), {0, 1, 0});
  ExpectNear(*stripe->NormalAt(&normal, {50, -3, 0}), {0, -1, 0});
  stripe->width.value.SetValue(0);
  ExpectNear(*stripe->NormalAt(&normal, {50, 3, 0}), {0, -1, 0});  // the plain curve's normal
  V tangent;
  const float uv[2] = {0.5f, 0.5f};
  ASSERT_TRUE(stripe->TangentAt({0, 0, 0}, uv, &tangent));
  ExpectNear(tangent, {1, 0, 0});
}

TEST(StripeShape, WithoutACurveEveryQueryAnswersEmpty) {
  ZKW_VGeom2D_Stripe stripe;
  stripe.width.value.SetValue(4);
  stripe.curve.Set(nullptr);
  ASSERT_EQ(stripe.curve.Get(), nullptr);
  stripe.RebuildOffsetter();
  V point(7, 7, 7), direction;
  float uv[2] = {0.5f, 0.5f};
  EXPECT_FALSE(stripe.PointAt(uv, &point, &direction));
  EXPECT_FALSE(stripe.PointAtUV(0.5f, 0.5f, &point, nullptr));
  EXPECT_FALSE(stripe.RandomPoint(&point, uv));
  EXPECT_EQ(point, V(7, 7, 7));
  EXPECT_EQ(*stripe.GetCenter(&point), V(0, 0, 0));
  EXPECT_EQ(*stripe.NormalAt(&point, {1, 1, 0}), V(0, 0, 0));
  EXPECT_FALSE(stripe.TangentAt({1, 1, 0}, uv, &point));
  EXPECT_FALSE(stripe.NormalAtParam({1, 1, 0}, uv, &point, &direction));
  EXPECT_FALSE(stripe.IsClosed());
  EXPECT_FALSE(stripe.IsClosedV());
  EXPECT_EQ(stripe.GetSpanAlong(0), 0.0f);
  EXPECT_EQ(stripe.GetSpanAcross(0), 4.0f);
}

TEST(StripeShape, CloneSharesTheCurveAndTheEnvelope) {
  auto stripe = StraightStripe(6);
  stripe->end.SetValue(50);
  std::unique_ptr<ZKW_VGeom2D> copy = stripe->Clone();
  auto& clone = dynamic_cast<ZKW_VGeom2D_Stripe&>(*copy);
  EXPECT_EQ(clone.curve.Get(), stripe->curve.Get());
  EXPECT_EQ(clone.width.envelope.Graph(), stripe->width.envelope.Graph());
  EXPECT_EQ(clone.width.value.Value(), 6u);
  EXPECT_FLOAT_EQ(clone.end.Scaled(), 0.5f);
  stripe.reset();
  V point;
  float uv[2] = {1, 0.5f};
  ASSERT_TRUE(clone.PointAt(uv, &point, nullptr));
  ExpectNear(point, {50, 0, 0}, 1e-3f);

  // A closed centre line closes the stripe.
  auto loop = std::make_unique<ZKW_VGeom2D_Loop>();
  loop->InitAsSegment(0, 0, 0, 10, 10, 0);
  clone.curve.Set(std::move(loop));
  EXPECT_TRUE(clone.IsClosed());
}

}  // namespace
