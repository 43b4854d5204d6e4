#include "renderers/water_ring/water_height_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numeric>

#include "core/crt_rand.h"

namespace {

using Grid = WaterHeightField::Grid;

TEST(WaterHeightField, GridSizes) {
  struct Case {
    float aspect;
    unsigned resolution, rows;
    uint32_t columns, gridRows;
  } cases[] = {
      {1.0f, 0, 0, 128, 128},      // 16,384 nodes
      {2.0f, 100, 100, 64, 1024},  // 256 x 1024 would pass 65,536: fewer columns
      {0.75f, 0, 0, 128, 96},
      {0.5f, 1, 0, 128, 64},  // 129 columns at first: the rows follow 129, the columns are even
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.aspect);
    const Grid grid = WaterHeightField::GridFor(c.aspect, c.resolution, c.rows);
    EXPECT_EQ(grid.columns, c.columns);
    EXPECT_EQ(grid.rows, c.gridRows);
  }
}

TEST(WaterHeightField, ExtremeSizesStayEvenAtLeastFourAndWithinSixteenBits) {
  // Unmended, a tall picture gives 0 columns, a wide one 2 rows, and huge raw values wrap.
  const unsigned kHuge = 0xFFFFFFFFu;
  const struct {
    float aspect;
    unsigned resolution, rows;
  } cases[] = {{1000.0f, 0, 0},      {1e-6f, 0, 0},     {1.0f, kHuge, 0},  {1.0f, 0, kHuge},
               {1.0f, kHuge, kHuge}, {1e30f, kHuge, 0}, {0.01f, kHuge, 0}, {600.0f, 100, 100}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.aspect << " " << c.resolution << " " << c.rows);
    const Grid grid = WaterHeightField::GridFor(c.aspect, c.resolution, c.rows);
    EXPECT_GE(grid.columns, 4u);
    EXPECT_GE(grid.rows, 4u);
    EXPECT_LE(grid.rows, 16384u);
    EXPECT_EQ(grid.columns % 2, 0u);
    EXPECT_EQ(grid.rows % 2, 0u);
    EXPECT_LE(uint64_t(grid.columns) * grid.rows, 65536u);
  }
}

TEST(WaterHeightField, SizingMakesZeroedNodesAndOneDrop) {
  WaterHeightField field;
  EXPECT_FALSE(field.HasNodes()) << "4 x 4 and no nodes until sized";
  field.Step({0, 120, 0});  // nothing to step
  field.Drop();
  field.SizeGrid(1.0f, 0, 0);
  EXPECT_EQ(field.nodeCount, 16384u);
  EXPECT_EQ(field.indexCount, 32768u);
  EXPECT_FLOAT_EQ(field.extentX, 30.0f);
  EXPECT_FLOAT_EQ(field.inverseExtentZ, 1.0f / 30.0f);
  float velocities = 0;
  for (const WaterHeightField::Node& node : field.nodes) {
    EXPECT_EQ(node.height, 0.0f);
    velocities += node.velocity;
  }
  // One drop of strength 0.5: a quarter, four eighths and four sixteenths of it.
  EXPECT_FLOAT_EQ(velocities, -0.5f * (0.25f + 0.5f + 0.25f));
  field.SizeGrid(0.0f, 0, 0);  // a picture without height sizes as a square
  EXPECT_EQ(field.columns, 128u);
  EXPECT_TRUE(std::isfinite(field.extentX));
}

TEST(WaterHeightField, TheStripJoinsEveryNodeToANeighbourRingByRing) {
  for (const auto& [columns, rows] : {std::pair{4u, 4u},
                                      {4u, 8u},
                                      {8u, 4u},
                                      {6u, 10u},
                                      {128u, 96u},
                                      {64u, 1024u},
                                      {4u, 16384u},
                                      {256u, 256u}}) {
    SCOPED_TRACE(testing::Message() << columns << " x " << rows);
    const uint32_t n = columns * rows;
    std::vector<uint16_t> strip(2 * size_t(n), 0xBEEF);
    WaterHeightField::FillSpiralStrip(columns, rows, strip);
    std::vector<int> seen(n, 0);
    for (size_t i = 0; i < strip.size(); i += 2) {
      ASSERT_LT(strip[i], n);
      ASSERT_LT(strip[i + 1], n);
      const int r0 = strip[i] / columns, c0 = strip[i] % columns;
      const int r1 = strip[i + 1] / columns, c1 = strip[i + 1] % columns;
      ASSERT_EQ(std::abs(r0 - r1) + std::abs(c0 - c1), 1) << "pair " << i / 2;
      ++seen[strip[i]];
    }
    // Each node leads exactly one pair.
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), int(n));
  }
}

TEST(WaterHeightField, DropsNeverCentreOnTheBorder) {
  WaterHeightField field;
  field.SizeGrid(1.0f, 0, 0);
  field.dropStrength = 1.0f;
  for (unsigned seed = 1; seed <= 2000; ++seed) {
    std::fill(field.nodes.begin(), field.nodes.end(), WaterHeightField::Node{});
    crt_srand(seed);
    const int first = crt_rand(), second = crt_rand();
    crt_srand(seed);
    field.Drop();
    // The column comes from the first draw; the centre lies in rows and columns 1 .. 126.
    const uint32_t c = uint32_t(first) % 126 + 1, r = uint32_t(second) % 126 + 1;
    ASSERT_FLOAT_EQ(field.At(r, c).velocity, -0.25f);
    ASSERT_FLOAT_EQ(field.At(r, c - 1).velocity, -0.125f);
    ASSERT_FLOAT_EQ(field.At(r - 1, c + 1).velocity, -0.0625f);
  }
  // The smallest grid still drops inside: its centre is one of the four inner nodes.
  field.SizeGrid(1000.0f, 0, 0);
  ASSERT_EQ(field.columns, 4u);
  for (unsigned seed = 1; seed <= 50; ++seed) {
    std::fill(field.nodes.begin(), field.nodes.end(), WaterHeightField::Node{});
    crt_srand(seed);
    field.Drop();
    const auto centre =
        std::min_element(field.nodes.begin(), field.nodes.end(),
                         [](const auto& a, const auto& b) { return a.velocity < b.velocity; });
    const size_t at = size_t(centre - field.nodes.begin());
    EXPECT_FLOAT_EQ(centre->velocity, -0.25f);
    EXPECT_TRUE(at / 4 >= 1 && at / 4 < field.rows - 1 && at % 4 >= 1 && at % 4 <= 2) << at;
  }
}

// A surface with ripples from a few drops and some steps.
WaterHeightField Rippled(float aspect, float waveSpeed) {
  WaterHeightField field;
  field.waveSpeed = waveSpeed;
  crt_srand(11);
  field.SizeGrid(aspect, 0, 0);
  for (int i = 0; i < 5; ++i) {
    field.Drop();
    field.SubStep();
  }
  return field;
}

TEST(WaterHeightField, SubStepsKeepTheBorderStillAndTheLevel) {
  for (float k : {1.0f, 1.6f}) {
    WaterHeightField field = Rippled(1.0f, k);
    for (int step = 0; step < 6; ++step) {
      const float sum = field.RelaxVelocities();
      for (uint32_t i = 0; i < field.columns; ++i) {
        for (const WaterHeightField::Node* node :
             {&field.At(0, i), &field.At(field.rows - 1, i), &field.At(i % field.rows, 0),
              &field.At(i % field.rows, field.columns - 1)}) {
          ASSERT_EQ(node->height, 0.0f);
          ASSERT_EQ(node->velocity, 0.0f);
        }
      }
      field.AdvanceHeights(sum);
      if (k == 1.0f) {
        double total = 0;
        for (const WaterHeightField::Node& node : field.nodes)
          total += node.height;
        EXPECT_NEAR(total / field.nodeCount, 0.0, 1e-7) << "step " << step;
      }
    }
  }
}

TEST(WaterHeightField, RefractionTableEnds) {
  const RefractionTable& table = SharedRefractionTable();
  EXPECT_EQ(&table, &SharedRefractionTable());
  EXPECT_NEAR(table[0].a, 1.333 * std::cos(std::asin(1 / 1.333)), 1e-5);
  EXPECT_NEAR(table[0].b, -1 / 1.333, 1e-6);
  EXPECT_EQ(table[0].colour, 0xFD000000u);  // 255^3 = 0xFD02FF
  EXPECT_EQ(table[255].colour, 0u);
  EXPECT_EQ(table[128].colour >> 24, (127u * 127 * 127) >> 16);
  for (const RefractionEntry& entry : table) {
    EXPECT_TRUE(std::isfinite(entry.a));
    EXPECT_TRUE(std::isfinite(entry.b));
    EXPECT_EQ(entry.colour & 0x00FFFFFFu, 0u) << "black";
  }
}

TEST(WaterHeightField, VerticesOfAFlatSurfaceAndOfAWideRippledOne) {
  WaterHeightField flat;
  flat.SizeGrid(0.75f, 0, 0);
  std::fill(flat.nodes.begin(), flat.nodes.end(), WaterHeightField::Node{});
  const D3DXVECTOR3 eye{0, 120, 0};
  // The corners span the surface; unrefracted, the texture spans it too.
  const WaterHeightField::Vertex corner = flat.VertexAt(0, 0, eye);
  EXPECT_FLOAT_EQ(corner.x, -20.0f);
  EXPECT_FLOAT_EQ(corner.z, -15.0f);
  EXPECT_EQ(corner.nx, 0.0f);
  EXPECT_EQ(corner.ny, 1.0f);
  flat.refraction = 0.0f;
  EXPECT_FLOAT_EQ(flat.VertexAt(0, 0, eye).u, 0.0f);
  EXPECT_FLOAT_EQ(flat.VertexAt(flat.rows - 1, flat.columns - 1, eye).v, 1.0f);

  // 3 : 1: the outer rays miss the bowl.
  WaterHeightField wide = Rippled(1.0f / 3.0f, 1.0f);
  wide.refraction = 1.0f;
  size_t count = 0;
  for (uint32_t r = 0; r < wide.rows; ++r) {
    for (uint32_t c = 0; c < wide.columns; ++c) {
      const WaterHeightField::Vertex v = wide.VertexAt(r, c, eye);
      for (float f : {v.x, v.y, v.z, v.nx, v.ny, v.nz, v.u, v.v})
        ASSERT_TRUE(std::isfinite(f)) << r << ", " << c;
      ++count;
    }
  }
  EXPECT_EQ(count, wide.nodeCount);
}

}  // namespace
