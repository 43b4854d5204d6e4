#pragma once

#include <cstdint>
#include <span>

// The index arithmetic of a vertex grid of columns x rows vertices numbered row by row, drawn as
// two triangles per cell. The graphics layer writes these indices into a 16-bit index buffer.

// Indices of the grid: 6 per cell. 0 when the grid has no cell, and when its vertices do not fit
// 16-bit indices (more than 65536), since such a grid cannot be drawn from a 16-bit buffer.
uint32_t GridIndexCount(uint32_t columns, uint32_t rows);

inline uint32_t GridTriangleCount(uint32_t columns, uint32_t rows) {
  return GridIndexCount(columns, rows) / 3;
}

// Writes the GridIndexCount indices, cells row by row; for vertex v at the cell's top-left corner:
// v, v + 1, v + columns, then v + columns, v + 1, v + columns + 1. Answers false and writes
// nothing when `out` is too small.
bool WriteGridIndices(uint32_t columns, uint32_t rows, std::span<uint16_t> out);
