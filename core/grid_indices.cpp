#include "core/grid_indices.h"

namespace {
constexpr uint64_t kMaxGridVertices = 65536;
}

uint32_t GridIndexCount(uint32_t columns, uint32_t rows) {
  if (columns < 2 || rows < 2) return 0;
  if (uint64_t{columns} * rows > kMaxGridVertices) return 0;
  return 6 * (columns - 1) * (rows - 1);
}

bool WriteGridIndices(uint32_t columns, uint32_t rows, std::span<uint16_t> out) {
  const uint32_t count = GridIndexCount(columns, rows);
  if (out.size() < count) return false;
  size_t i = 0;
  for (uint32_t j = 0; count != 0 && j + 1 < rows; ++j) {
    for (uint32_t k = 0; k + 1 < columns; ++k) {
      const uint32_t v = j * columns + k;
      for (uint32_t index : {v, v + 1, v + columns, v + columns, v + 1, v + columns + 1}) {
        out[i++] = static_cast<uint16_t>(index);
      }
    }
  }
  return true;
}
