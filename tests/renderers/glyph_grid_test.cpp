// The falling-glyph simulation without the device: sizes, the drop chance, the order of the
// random draws, the cells' fades and flicker, and the walk that turns cells into quads.
#include "renderers/matrix_code/glyph_grid.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "core/crt_rand.h"
#include "core/list_limits.h"

namespace {

GlyphGrid::Settings With(int cell, int glyphs, unsigned flicker = 1, int startMode = 0) {
  GlyphGrid::Settings s;
  s.cellSize = cell;
  s.glyphCount = glyphs;
  s.flickerCount = flicker;
  s.startMode = startMode;
  return s;
}

// The next `n` values of crt_rand after seeding with `seed`.
std::vector<int> Draws(unsigned seed, int n) {
  crt_srand(seed);
  std::vector<int> out;
  for (int i = 0; i < n; ++i)
    out.push_back(crt_rand());
  return out;
}

TEST(GlyphGridTest, TheSceneIsCutIntoCellsOneMoreThanFit) {
  const GlyphGrid grid(640, 480, With(16, 4));
  EXPECT_EQ(grid.columns, 41u);
  EXPECT_EQ(grid.rows, 31u);
  EXPECT_EQ(grid.CellCount(), 1271u);
  EXPECT_EQ(grid.drops.size(), 41u);

  // No cell size or picture size makes more cells than a quad list may hold.
  for (const auto& [cell, w, h] :
       {std::tuple{1u, 4096u, 4096u}, {1u, 1u << 20, 1u << 20}, {0u, 640u, 480u}, {3u, 0u, 0u}}) {
    const int size = GridCellSize(cell, w, h);
    const uint64_t cells = uint64_t(w / size + 1) * (h / size + 1);
    EXPECT_LE(cells, kMaxParticlesPerList) << cell << " " << w;
    EXPECT_GE(size, 1);
  }
  EXPECT_EQ(GridCellSize(0, 64, 48), 1) << "0 is taken as 1";
  EXPECT_EQ(GridCellSize(16, 640, 480), 16);
  EXPECT_EQ(GridCellSize(1, 640, 480), 2) << "641 x 481 cells would be too many";
}

TEST(GlyphGridTest, DropChanceDivisorByDensity) {
  GlyphGrid grid(64, 64, With(16, 4));
  const std::pair<int, int> table[] = {{1, 85},  {9, 85},  {10, 60}, {14, 60}, {15, 45}, {19, 45},
                                       {20, 25}, {25, 20}, {30, 15}, {35, 10}, {44, 10}, {45, 8},
                                       {50, 7},  {55, 5},  {64, 5},  {65, 3},  {79, 3},  {80, 2},
                                       {89, 2},  {90, 1},  {100, 1}};
  for (const auto& [density, divisor] : table) {
    grid.density = density;
    EXPECT_EQ(grid.DropChanceDivisor(), divisor) << density;
  }
}

TEST(GlyphGridTest, FlickerMarksAtMostCountLessOneCellsAndNeverMoreDrawsThanCells) {
  auto flickering = [](const GlyphGrid& grid) {
    int n = 0;
    for (uint32_t cell : grid.cells)
      n += (cell & GlyphGrid::kFlicker) != 0;
    return n;
  };
  for (unsigned count : {0u, 1u}) {
    crt_srand(5);
    const GlyphGrid grid(640, 480, With(16, 4, count));
    EXPECT_EQ(flickering(grid), 0) << count;
    const int next = crt_rand();
    EXPECT_EQ(next, Draws(5, 1)[0]) << "no draws for a count of " << count;
  }
  crt_srand(5);
  const GlyphGrid some(640, 480, With(16, 4, 11));
  EXPECT_GT(flickering(some), 0);
  EXPECT_LE(flickering(some), 10);

  // A stored count of billions on a grid of four cells draws four cells, two values each.
  crt_srand(9);
  const GlyphGrid small(16, 16, With(16, 4, 4000000000u));
  EXPECT_EQ(small.CellCount(), 4u);
  const int next = crt_rand();
  EXPECT_EQ(next, Draws(9, 9)[8]);
  const auto draws = Draws(9, 8);
  for (int i = 0; i < 8; i += 2) {
    const uint32_t column = uint32_t(draws[i]) % 2, row = uint32_t(draws[i + 1]) % 2;
    EXPECT_NE(small.cells[row * 2 + column] & GlyphGrid::kFlicker, 0u);
  }
}

TEST(GlyphGridTest, WritingFromTheTopPushesTheColumnDown) {
  GlyphGrid grid(16, 64, With(16, 9));  // 2 columns, 5 rows
  ASSERT_EQ(grid.rows, 5u);
  grid.SetCell(5, 1, 0);
  grid.SetCell(6, 1, 1);
  for (uint32_t& cell : grid.cells)
    cell = GlyphGrid::WithFade(cell, 0) & ~GlyphGrid::kChanged;
  grid.SetCell(7, 1, -1);
  const int expected[5] = {7, 5, 6, 0, 0};
  for (uint32_t row = 0; row < 5; ++row) {
    EXPECT_EQ(GlyphGrid::Glyph(grid.At(1, row)), expected[row]) << row;
    EXPECT_EQ(GlyphGrid::Fade(grid.At(1, row)), 0) << row;
    EXPECT_NE(grid.At(1, row) & GlyphGrid::kChanged, 0u) << row;
    EXPECT_EQ(grid.At(0, row), 0u) << "the other column stays";
  }

  // Blanks from the top: the column moves on, and the last glyph below an empty cell starts to
  // fade, ending the tail there.
  grid.SetCell(0, 1, -1);
  const int once[5] = {0, 7, 5, 6, 0};
  for (uint32_t row = 0; row < 5; ++row)
    EXPECT_EQ(GlyphGrid::Glyph(grid.At(1, row)), once[row]) << row;
  EXPECT_EQ(GlyphGrid::Fade(grid.At(1, 1)), 0);
  grid.SetCell(0, 1, -1);
  const int twice[5] = {0, 7, 7, 5, 6};
  for (uint32_t row = 0; row < 5; ++row)
    EXPECT_EQ(GlyphGrid::Glyph(grid.At(1, row)), twice[row]) << row;
  EXPECT_EQ(GlyphGrid::Fade(grid.At(1, 1)), -1) << "the tail ends below the empty top";
  EXPECT_EQ(GlyphGrid::Fade(grid.At(1, 2)), 0);

  // A glyph written in place is bright for 1 or 2 frames, from the next draw.
  const int fade = Draws(4, 1)[0] % 2 + 1;
  crt_srand(4);
  grid.SetCell(3, 0, 2);
  EXPECT_EQ(GlyphGrid::Glyph(grid.At(0, 2)), 3);
  EXPECT_EQ(GlyphGrid::Fade(grid.At(0, 2)), fade);
  // Past the last row nothing is written.
  const std::vector<uint32_t> before = grid.cells;
  grid.SetCell(3, 0, 5);
  EXPECT_EQ(grid.cells, before);
}

TEST(GlyphGridTest, StepGridStartsDropsInTheDocumentedOrderOfDraws) {
  // One column of eight rows, a drop chance of 1, drops from the top or in place.
  GlyphGrid::Settings s = With(16, 4, 1, 2);
  s.density = 100;
  for (unsigned seed : {1u, 2u, 3u, 7u, 11u}) {
    GlyphGrid grid(0, 112, s);
    ASSERT_EQ(grid.rows, 8u);
    const auto r = Draws(seed, 8);
    crt_srand(seed);
    grid.StepGrid();
    const GlyphGrid::Drop& drop = grid.drops[0];
    // r[0] % 1 == 0 always starts the drop.
    const int delay = r[2] % 5 + r[3] % 5;
    const int remaining = r[4] % 4 != 0 ? 0 : r[1] % 8 + 3;
    const int row = (r[5] & 1) == 1 ? r[6] % 4 : -1;
    EXPECT_EQ(drop.delay, delay) << seed;
    EXPECT_EQ(drop.remaining, remaining) << seed;
    EXPECT_EQ(drop.row, row) << seed;
  }

  // A grid of one row starts drops in place at row 0; one of one column makes no glitches.
  s.startMode = 1;
  s.glitch = 1;
  for (unsigned seed = 0; seed < 20; ++seed) {
    crt_srand(seed);
    GlyphGrid flat(0, 0, s);
    ASSERT_EQ(flat.rows, 1u);
    flat.StepGrid();
    EXPECT_EQ(flat.drops[0].row, 0);
  }
}

TEST(GlyphGridTest, ADropWritesDownItsColumnAndFadesCountBackToZero) {
  GlyphGrid grid(0, 112, With(16, 5));
  GlyphGrid::Drop& drop = grid.drops[0];
  drop = {2, 0, 1};
  const auto r = Draws(21, 5);
  crt_srand(21);
  grid.AdvanceDrops(false);
  const int glyph = r[0] % 5 + 1, fade = r[1] % 2 + 1;
  EXPECT_EQ(GlyphGrid::Glyph(grid.At(0, 1)), glyph);
  EXPECT_EQ(GlyphGrid::Fade(grid.At(0, 1)), fade);
  EXPECT_EQ(drop.remaining, 1);
  EXPECT_EQ(drop.row, 2) << "the drop moves down its column";
  EXPECT_EQ(drop.delay, r[2] % 10 == 0 ? r[3] % 5 + r[4] % 5 : 0);

  // The bright glyph counts down to steady, pass by pass; each pass answers it once.
  for (int pass = 0; pass <= fade + 1; ++pass) {
    grid.RestartPass();
    GlyphGrid::VisibleCell cell;
    grid.NextVisibleCell(cell);
    ASSERT_EQ(cell.colourMask, 0xFFFFFFFFu) << pass;
    EXPECT_EQ(cell.row, 1u);
    EXPECT_EQ(cell.brightness, pass < fade ? 2 : 1) << pass;
    EXPECT_EQ(GlyphGrid::Fade(grid.At(0, 1)), std::max(fade - pass - 1, 0)) << pass;
    grid.NextVisibleCell(cell);
    EXPECT_EQ(cell.colourMask, 0x00FFFFFFu) << "no second lit cell";
    EXPECT_EQ(cell.row, 1u) << "the last values stay";
    EXPECT_EQ(grid.visible, 1u);
  }

  // A fading glyph is dim and goes when its fade reaches 0.
  grid.At(0, 4) = GlyphGrid::WithFade(3, -2) | GlyphGrid::kChanged;
  for (int pass = 0; pass < 3; ++pass) {
    grid.RestartPass();
    GlyphGrid::VisibleCell cell;
    grid.NextVisibleCell(cell);
    grid.NextVisibleCell(cell);
    if (pass < 2) {
      EXPECT_EQ(cell.row, 4u);
      EXPECT_EQ(cell.brightness, 0);
    } else {
      EXPECT_EQ(cell.colourMask, 0x00FFFFFFu) << "gone";
    }
  }
  EXPECT_EQ(grid.At(0, 4) & 0xFFFF, 0u);

  // When every cell was lit in the last pass, drops write blanks without a draw for the glyph.
  drop = {2, 0, 6};
  grid.previousVisible = grid.CellCount();
  const auto b = Draws(8, 3);
  crt_srand(8);
  grid.AdvanceDrops(true);
  EXPECT_EQ(grid.At(0, 6) & 0xFF, 0u);
  EXPECT_EQ(drop.remaining, 1);
  EXPECT_EQ(drop.delay, b[0] % 10 == 0 ? b[1] % 5 + b[2] % 5 : 0)
      << "the first draw is the delay's";
}

TEST(GlyphGridTest, AFlickeringCellChangesItsGlyphAndStaysMarked) {
  GlyphGrid grid(16, 16, With(16, 6));
  grid.At(1, 1) = 4 | GlyphGrid::kFlicker | GlyphGrid::kChanged;
  grid.At(0, 0) = 2 | GlyphGrid::kFlicker;  // steady and not marked: it keeps its glyph
  const auto r = Draws(3, 1);
  crt_srand(3);
  grid.RestartPass();
  GlyphGrid::VisibleCell cell;
  grid.NextVisibleCell(cell);
  EXPECT_EQ(cell.brightness, 2) << "flickering cells are bright";
  grid.NextVisibleCell(cell);
  EXPECT_EQ(cell.column, 1u);
  EXPECT_FLOAT_EQ(cell.top, 3.0f / 6.0f) << "the glyph before the change";
  EXPECT_EQ(GlyphGrid::Glyph(grid.At(1, 1)), r[0] % 6);
  EXPECT_EQ(GlyphGrid::Glyph(grid.At(0, 0)), 2);
  EXPECT_NE(grid.At(1, 1) & GlyphGrid::kChanged, 0u);
}

TEST(GlyphGridTest, AVisibleCellIsPlacedOnItsCellAndShowsItsGlyphOfTheStrip) {
  GlyphGrid grid(64, 32, With(16, 8));  // 5 x 3
  grid.At(3, 2) = 5;
  grid.RestartPass();
  GlyphGrid::VisibleCell cell;
  grid.NextVisibleCell(cell);
  EXPECT_FLOAT_EQ(cell.x, 56.0f);
  EXPECT_FLOAT_EQ(cell.y, 40.0f);
  EXPECT_FLOAT_EQ(cell.halfSize, 8.0f);
  EXPECT_FLOAT_EQ(cell.top, 4.0f / 8.0f);
  EXPECT_FLOAT_EQ(cell.bottom, 5.0f / 8.0f);
  EXPECT_EQ(cell.brightness, 1);
}

}  // namespace
