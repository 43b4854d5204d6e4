#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The falling-glyph simulation of the matrix-code renderer, without the device: the picture cut
// into square cells, one drop per column writing random glyphs down it, fading tails, flickering
// cells. Every step draws from crt_rand in a fixed order, so that a seed gives one sequence.
//
// A cell word holds the glyph in bits 0-7 (0 empty, 1..glyph count), the fade as a signed byte in
// bits 8-15 (positive: frames left bright; negative: frames left before the glyph goes; 0
// steady), kChanged while the cell still has to be processed and kFlicker on flickering cells.
class GlyphGrid {
 public:
  static constexpr uint32_t kChanged = 0x10000;
  static constexpr uint32_t kFlicker = 0x20000;

  // The parameters as the renderer last applied them.
  struct Settings {
    int cellSize = 16;
    int density = 20;
    unsigned flickerCount = 10;
    int glitch = 0;
    int startMode = 0;
    int glyphCount = 1;
  };

  // One column's drop: glyphs still to write, frames to wait, the row written next (-1: the
  // column is pushed down from the top).
  struct Drop {
    int remaining = 0;
    int delay = 0;
    int row = 0;
  };

  // A cell found by NextVisibleCell: where its quad goes, which glyph of the strip it shows and
  // how bright it is (2 head or flicker, 1 steady, 0 fading).
  struct VisibleCell {
    uint32_t column = 0, row = 0;
    float x = 0.0f, y = 0.0f, halfSize = 0.0f;
    float top = 0.0f, bottom = 0.0f;
    int brightness = 0;
    uint32_t colourMask = 0xFFFFFFFF;
  };

  // The grid of a scene of `sceneWidth` x `sceneHeight` units: width / cell + 1 columns and
  // height / cell + 1 rows, every cell and drop 0; start mode 0 pushes drops in from the top, 1
  // starts them in place, any other value either. Then ResetFlicker.
  GlyphGrid(uint32_t sceneWidth, uint32_t sceneHeight, const Settings& settings);

  // Clears every flicker mark and sets it on flicker count - 1 cells drawn at random (a cell may
  // be drawn twice); never more draws than there are cells.
  void ResetFlicker();
  // How rarely an idle column starts a drop: it does when crt_rand() % divisor is 0.
  int DropChanceDivisor() const;
  // Writes `glyph` at `row` of `column`. A negative row pushes the column down one row first
  // (a glyph below an empty cell starts to fade, ending the tail there) and writes the top cell.
  // A written glyph other than 0 is steady at the top, else bright for 1 or 2 frames.
  void SetCell(int glyph, uint32_t column, int row);
  // One frame of the simulation outside the drops' writing: glitches, new drops, now and then a
  // new set of flickering cells.
  void StepGrid();
  // The drops' writing of one frame (each column waits out its delay or writes its next glyph).
  // `everyCellVisible` (the last pass saw every cell lit), or a glyph count of 0, makes drops
  // write blanks.
  void AdvanceDrops(bool everyCellVisible);
  // Starts a pass over the cells: the cursor goes to the first cell and the count of lit cells
  // seen moves to the previous pass's.
  void RestartPass();
  // Walks on to the next cell with a glyph and answers it in `out`, processing every changed
  // cell passed (fades advance, flickering cells change glyph). Past the last cell `out` keeps
  // what it held and its colour mask loses the alpha byte.
  void NextVisibleCell(VisibleCell& out);

  uint32_t CellCount() const { return static_cast<uint32_t>(cells.size()); }
  uint32_t& At(uint32_t column, uint32_t row) { return cells[size_t(row) * columns + column]; }
  static int Glyph(uint32_t cell) { return static_cast<int>(cell & 0xFF); }
  static int Fade(uint32_t cell) { return static_cast<int8_t>((cell >> 8) & 0xFF); }
  static uint32_t WithFade(uint32_t cell, int fade) {
    return (cell & ~0xFF00u) | (static_cast<uint32_t>(static_cast<uint8_t>(fade)) << 8);
  }

  uint32_t sceneWidth, sceneHeight;
  int cellSize;
  uint32_t columns, rows;
  std::vector<uint32_t> cells;
  std::vector<Drop> drops;
  bool fromTop, inPlace;
  int density;
  unsigned flickerCount;
  bool glitch;
  int glyphCount;
  // The pass over the cells: the next cell to visit and the lit cells of this pass and the last.
  uint32_t cursor = 0;
  uint32_t visible = 0, previousVisible = 0;
};

// The cell size a grid is built with: `cellSize` (0 taken as 1, at most 2^30), raised until the
// scene has at most kMaxParticlesPerList cells, so that no picture size or cell size from a
// project makes a grid or its quads without bound.
int GridCellSize(uint32_t cellSize, uint32_t sceneWidth, uint32_t sceneHeight);
