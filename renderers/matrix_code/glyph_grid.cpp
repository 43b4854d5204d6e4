#include "renderers/matrix_code/glyph_grid.h"

#include <algorithm>
#include <cmath>

#include "core/crt_rand.h"
#include "core/list_limits.h"

namespace {

uint64_t CellsAt(uint64_t cell, uint32_t width, uint32_t height) {
  return (width / cell + 1) * (height / cell + 1);
}

}  // namespace

int GridCellSize(uint32_t cellSize, uint32_t sceneWidth, uint32_t sceneHeight) {
  uint64_t cell = std::clamp<uint64_t>(cellSize, 1, uint64_t{1} << 30);
  if (CellsAt(cell, sceneWidth, sceneHeight) > kMaxParticlesPerList) {
    // Close to the size that fits, then up to it: cells ~ area / cell^2.
    const double area = double(sceneWidth) * double(sceneHeight);
    cell = std::max<uint64_t>(cell, uint64_t(std::sqrt(area / kMaxParticlesPerList)));
    while (CellsAt(cell, sceneWidth, sceneHeight) > kMaxParticlesPerList)
      ++cell;
  }
  return static_cast<int>(cell);
}

GlyphGrid::GlyphGrid(uint32_t width, uint32_t height, const Settings& settings)
    : sceneWidth(width),
      sceneHeight(height),
      cellSize(GridCellSize(uint32_t(std::max(settings.cellSize, 1)), width, height)),
      columns(width / uint32_t(cellSize) + 1),
      rows(height / uint32_t(cellSize) + 1),
      cells(size_t(columns) * rows, 0),
      drops(columns),
      fromTop(settings.startMode != 1),
      inPlace(settings.startMode != 0),
      density(settings.density),
      flickerCount(settings.flickerCount),
      glitch(settings.glitch != 0),
      glyphCount(settings.glyphCount) {
  ResetFlicker();
}

void GlyphGrid::ResetFlicker() {
  for (uint32_t& cell : cells)
    cell &= ~kFlicker;
  // A count of 0 marks none (rather than wrapping to billions of draws).
  const uint64_t marks = std::min<uint64_t>(flickerCount > 0 ? flickerCount - 1 : 0, cells.size());
  for (uint64_t i = 0; i < marks; ++i) {
    const uint32_t column = uint32_t(crt_rand()) % columns;
    const uint32_t row = uint32_t(crt_rand()) % rows;
    At(column, row) |= kFlicker;
  }
}

int GlyphGrid::DropChanceDivisor() const {
  static constexpr struct {
    int below, divisor;
  } kTable[] = {{10, 85}, {15, 60}, {20, 45}, {25, 25}, {30, 20}, {35, 15},
                {45, 10}, {50, 8},  {55, 7},  {65, 5},  {80, 3},  {90, 2}};
  for (const auto& step : kTable)
    if (density < step.below) return step.divisor;
  return 1;
}

void GlyphGrid::SetCell(int glyph, uint32_t column, int row) {
  if (column >= columns || (row >= 0 && uint32_t(row) >= rows)) return;
  if (row < 0) {
    for (uint32_t b = rows - 1; b >= 1; --b) {
      uint32_t& cell = At(column, b);
      const uint32_t above = At(column, b - 1);
      if (Glyph(cell) != 0 && Glyph(above) == 0) {
        cell = WithFade(cell, -1);  // the tail ends here
      } else {
        cell = (cell & ~0xFFFFu) | (above & 0xFFFFu);
      }
      cell |= kChanged;
    }
  }
  uint32_t& cell = At(column, row < 0 ? 0 : uint32_t(row));
  cell = (cell & ~0xFFu) | (uint32_t(glyph) & 0xFF) | kChanged;
  if (glyph != 0) cell = WithFade(cell, row < 0 ? 0 : crt_rand() % 2 + 1);
}

void GlyphGrid::StepGrid() {
  // With fewer than two columns there is no range to draw glitches from.
  if (glitch && columns >= 2) {
    const int n = crt_rand() % (int(columns / 2) * 10) / 10 - 1;
    for (int i = 0; i < n; ++i) {
      const uint32_t column = uint32_t(crt_rand()) % columns;
      const uint32_t row = uint32_t(crt_rand()) % rows;
      uint32_t& cell = At(column, row);
      if (Glyph(cell) != 0 && Fade(cell) == 0) cell = WithFade(cell, crt_rand() % 20) | kChanged;
    }
  }
  for (Drop& drop : drops) {
    if (drop.remaining > 0 || crt_rand() % DropChanceDivisor() != 0) continue;
    drop.remaining = crt_rand() % int(rows) + 3;
    drop.delay = crt_rand() % 5 + crt_rand() % 5;
    if (crt_rand() % 4 != 0) drop.remaining = 0;  // a blank drop
    const bool here = inPlace && (!fromTop || (crt_rand() & 1) == 1);
    // A grid of one row has no upper half to draw from: such a drop starts at row 0.
    drop.row = !here ? -1 : rows >= 2 ? crt_rand() % int(rows / 2) : 0;
  }
  if (crt_rand() % 500 == 0) ResetFlicker();
}

void GlyphGrid::AdvanceDrops(bool everyCellVisible) {
  for (uint32_t column = 0; column < columns; ++column) {
    Drop& drop = drops[column];
    if (drop.delay != 0) {
      --drop.delay;
    } else {
      if (drop.remaining > 0) {
        SetCell(everyCellVisible || glyphCount <= 0 ? 0 : crt_rand() % glyphCount + 1, column,
                drop.row);
        --drop.remaining;
      } else {
        SetCell(0, column, drop.row);
      }
      if (drop.row >= 0) ++drop.row;
    }
    if (crt_rand() % 10 == 0) drop.delay = crt_rand() % 5 + crt_rand() % 5;
  }
}

void GlyphGrid::RestartPass() {
  cursor = 0;
  previousVisible = visible;
  visible = 0;
}

void GlyphGrid::NextVisibleCell(VisibleCell& out) {
  const float cell = float(cellSize);
  while (cursor < cells.size()) {
    const uint32_t index = cursor++;
    uint32_t& word = cells[index];
    const int glyph = Glyph(word);
    const bool found = glyph != 0;
    if (found) {
      ++visible;
      out.column = index % columns;
      out.row = index / columns;
      out.x = float(out.column) * cell + cell / 2;
      out.y = float(out.row) * cell + cell / 2;
      out.halfSize = cell / 2;
      out.top = float(glyph - 1) / float(glyphCount);
      out.bottom = float(glyph) / float(glyphCount);
      const int fade = Fade(word);
      out.brightness = fade > 0 || (word & kFlicker) != 0 ? 2 : fade == 0 ? 1 : 0;
      out.colourMask = 0xFFFFFFFF;
    }
    if ((word & kChanged) != 0) {
      word &= ~kChanged;
      const int fade = Fade(word);
      if (fade > 0) {
        word = WithFade(word, fade - 1) | kChanged;
      } else if (fade < 0) {
        word = WithFade(word, fade + 1) | kChanged;
        if (fade + 1 == 0) word &= ~0xFFu;
      }
      if (Glyph(word) != 0 && (word & kFlicker) != 0) {
        const int next = glyphCount > 0 ? crt_rand() % glyphCount : 0;
        word = (word & ~0xFFu) | (uint32_t(next) & 0xFF) | kChanged;
      }
    }
    if (found) return;
  }
  out.colourMask = 0x00FFFFFF;
}
