#include "renderers/water_ring/water_height_field.h"

#include <algorithm>
#include <cmath>

#include "core/crt_rand.h"
#include "core/float_to_int.h"
#include "platform/gfx/device.h"
#include "player/device/device_values.h"

namespace {

static_assert(sizeof(WaterHeightField::Vertex) == WaterHeightField::kStride);

// The bowl the refracted rays end on: a sphere above the surface that holds its middle.
constexpr D3DXVECTOR3 kBowlCentre{0.0f, 20.0f, 0.0f};
constexpr float kBowlRadiusSquared = 35.0f * 35.0f;

float Dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

// `v` at unit length; `fallback` for a vector without length.
D3DXVECTOR3 Normalised(const D3DXVECTOR3& v, const D3DXVECTOR3& fallback) {
  const float length = std::sqrt(Dot(v, v));
  if (!(length > 0.0f) || !std::isfinite(length)) return fallback;
  return {v.x / length, v.y / length, v.z / length};
}

// The neighbour index before and after `i` on a side of `n`, wrapping around.
uint32_t Before(uint32_t i, uint32_t n) {
  return i == 0 ? n - 1 : i - 1;
}
uint32_t After(uint32_t i, uint32_t n) {
  return i + 1 == n ? 0 : i + 1;
}

uint32_t EvenDown(uint32_t v) {
  return v & ~1u;
}

}  // namespace

WaterHeightField::Grid WaterHeightField::GridFor(float aspect, unsigned resolutionRaw,
                                                 unsigned rowsRaw) {
  const uint32_t w0 =
      SaturatingTruncate<uint32_t>(128.0f * (static_cast<float>(resolutionRaw) * 0.01f + 1.0f));
  // The rows follow the first column count, before it was made even.
  const uint32_t h0 = SaturatingTruncate<uint32_t>(aspect * static_cast<float>(w0) *
                                                   (static_cast<float>(rowsRaw) * 0.01f + 1.0f));
  Grid grid;
  grid.columns = std::max(EvenDown(w0), kMinSide);
  grid.rows = std::clamp(EvenDown(h0), kMinSide, kMaxRows);
  if (uint64_t(grid.columns) * grid.rows > kMaxNodes)
    grid.columns = EvenDown(kMaxNodes / grid.rows);
  return grid;
}

void WaterHeightField::FillSpiralStrip(uint32_t columns, uint32_t rows, std::span<uint16_t> out) {
  const int64_t n = int64_t(columns) * rows;
  const int64_t W = columns;
  size_t written = 0;
  // A pair of indices; an index outside the grid becomes 0.
  auto pair = [&](int64_t r0, int64_t c0, int64_t r1, int64_t c1) {
    if (written + 2 > out.size()) return;
    for (const int64_t index : {r0 * W + c0, r1 * W + c1})
      out[written++] = index >= 0 && index < n ? static_cast<uint16_t>(index) : 0;
  };
  int64_t r = 0, c = 0, w = columns, h = rows;
  while (written < out.size() && w > 0 && h > 1) {
    for (int64_t i = 0; i < w; ++i, ++c)
      pair(r, c, r + 1, c);  // along the top, to the row below
    r += 1, c -= 1;
    for (int64_t i = 0; i < h - 1; ++i, ++r)
      pair(r, c, r, c - 1);  // down the right side, to the column left of it
    r -= 1, c -= 1;
    for (int64_t i = 0; i < w - 1; ++i, --c)
      pair(r, c, r - 1, c);  // back along the bottom, to the row above
    r -= 1, c += 1;
    for (int64_t i = 0; i < h - 2; ++i, --r)
      pair(r, c, r, c + 1);  // up the left side, to the column right of it
    r += 1, c += 1;
    w -= 2, h -= 2;
  }
  std::fill(out.begin() + static_cast<std::ptrdiff_t>(written), out.end(), uint16_t{0});
}

void WaterHeightField::SizeGrid(float aspect, unsigned resolutionRaw, unsigned rowsRaw) {
  if (!(aspect > 0.0f) || !std::isfinite(aspect)) aspect = 1.0f;
  extentX = kDepth / aspect;
  const Grid grid = GridFor(aspect, resolutionRaw, rowsRaw);
  columns = grid.columns;
  rows = grid.rows;
  nodeCount = columns * rows;
  indexCount = 2 * nodeCount;
  extentZ = kDepth;
  inverseExtentX = 1.0f / extentX;
  inverseExtentZ = 1.0f / extentZ;
  nodes.assign(nodeCount, Node{});
  ReleaseBuffers();
  CreateBuffers();
  Drop();
}

gfx::HResult WaterHeightField::CreateBuffers() {
  gfx::Device* device = CurrentDevice();
  if (device == nullptr) return gfx::kInvalidCall;
  if (!indices) {
    gfx::IndexBuffer* made = nullptr;
    const gfx::HResult hr = device->CreateIndexBuffer(indexCount * 2, 0, gfx::Format::Index16,
                                                      gfx::Pool::Default, &made);
    if (gfx::Failed(hr)) return hr;
    indices.Reset(made);
    void* data = nullptr;
    if (gfx::Succeeded(indices->Lock(0, 0, &data, 0))) {
      FillSpiralStrip(columns, rows, {static_cast<uint16_t*>(data), indexCount});
      indices->Unlock();
    }
  }
  if (!vertices) {
    gfx::VertexBuffer* made = nullptr;
    const gfx::HResult hr = device->CreateVertexBuffer(nodeCount * kStride, gfx::Usage::Dynamic,
                                                       kFvf, gfx::Pool::Default, &made);
    if (gfx::Failed(hr)) return hr;
    vertices.Reset(made);
  }
  return gfx::kOk;
}

void WaterHeightField::ReleaseBuffers() {
  indices.Reset();
  vertices.Reset();
}

void WaterHeightField::Drop() {
  if (!HasNodes() || columns < 3 || rows < 3) return;
  const uint32_t c = static_cast<uint32_t>(crt_rand()) % (columns - 2) + 1;
  const uint32_t r = static_cast<uint32_t>(crt_rand()) % (rows - 2) + 1;
  At(r, c).velocity -= 0.25f * dropStrength;
  for (const auto& [dr, dc] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}})
    At(r + dr, c + dc).velocity -= 0.125f * dropStrength;
  for (const auto& [dr, dc] : {std::pair{-1, -1}, {-1, 1}, {1, -1}, {1, 1}})
    At(r + dr, c + dc).velocity -= 0.0625f * dropStrength;
}

float WaterHeightField::RelaxVelocities() {
  float sum = 0.0f;
  for (uint32_t r = 0; r < rows; ++r) {
    const uint32_t up = Before(r, rows), down = After(r, rows);
    for (uint32_t c = 0; c < columns; ++c) {
      Node& node = At(r, c);
      if (r == 0 || r == rows - 1 || c == 0 || c == columns - 1) {
        node = Node{};
        continue;
      }
      const uint32_t left = Before(c, columns), right = After(c, columns);
      const float edges =
          At(up, c).height + At(down, c).height + At(r, left).height + At(r, right).height;
      const float corners = At(up, left).height + At(up, right).height + At(down, left).height +
                            At(down, right).height;
      const float mean = edges / 6.0f + corners / 12.0f;
      node.velocity = damping * node.velocity + (mean - node.height) * 0.25f;
      sum += node.height + node.velocity;
    }
  }
  return sum;
}

void WaterHeightField::AdvanceHeights(float sum) {
  level = sum / static_cast<float>(nodeCount);
  for (Node& node : nodes)
    node.height = node.height + waveSpeed * node.velocity - level;
}

void WaterHeightField::SubStep() {
  AdvanceHeights(RelaxVelocities());
}

gfx::HResult WaterHeightField::Step(const D3DXVECTOR3& eye) {
  if (!HasNodes()) return gfx::kInvalidCall;
  for (int i = 0; i < 4; ++i)
    SubStep();
  return WriteVertices(eye);
}

gfx::HResult WaterHeightField::WriteVertices(const D3DXVECTOR3& eye) {
  if (!HasNodes() || !vertices) return gfx::kInvalidCall;
  void* data = nullptr;
  const gfx::HResult hr = vertices->Lock(0, 0, &data, gfx::LockFlags::Discard);
  if (gfx::Failed(hr)) return hr;
  auto* out = static_cast<Vertex*>(data);
  for (uint32_t r = 0; r < rows; ++r)
    for (uint32_t c = 0; c < columns; ++c)
      *out++ = VertexAt(r, c, eye);
  return vertices->Unlock();
}

WaterHeightField::Vertex WaterHeightField::VertexAt(uint32_t r, uint32_t c,
                                                    const D3DXVECTOR3& eye) const {
  const uint32_t up = Before(r, rows), down = After(r, rows);
  const uint32_t left = Before(c, columns), right = After(c, columns);
  const float dx = extentX / static_cast<float>(columns - 1);
  const float dz = extentZ / static_cast<float>(rows - 1);
  const D3DXVECTOR3 p{-extentX / 2 + static_cast<float>(c) * dx, At(r, c).height,
                      -extentZ / 2 + static_cast<float>(r) * dz};

  const float vertical = At(up, c).height - At(down, c).height;
  const float g1 = At(up, left).height - At(down, right).height;
  const float g2 = At(up, right).height - At(down, left).height;
  const float horizontal = At(r, left).height - At(r, right).height;
  const D3DXVECTOR3 n =
      Normalised({horizontal + g1 - g2, 1.0f, vertical + g1 + g2}, D3DXVECTOR3{0.0f, 1.0f, 0.0f});
  const D3DXVECTOR3 e = Normalised(eye - p, D3DXVECTOR3{0.0f, 1.0f, 0.0f});

  // Nearest, ties to even; NaN reads as 0.
  const float steepness = std::clamp(std::nearbyint(255.0f * Dot(n, e)), 0.0f, 255.0f);
  const RefractionTable& table = profile != nullptr ? *profile : SharedRefractionTable();
  const RefractionEntry& entry = table[std::isnan(steepness) ? 0 : size_t(steepness)];
  const D3DXVECTOR3 t = (e + n * entry.a) * entry.b;

  // Where p + u t meets the bowl (t counted as a unit direction); u = 0 when it passes by.
  const D3DXVECTOR3 toCentre = p - kBowlCentre;
  const float b = 2.0f * Dot(t, toCentre);
  const float discriminant = b * b - 4.0f * (Dot(toCentre, toCentre) - kBowlRadiusSquared);
  const float u = discriminant >= 0.0f ? (std::sqrt(discriminant) - b) / 2.0f : 0.0f;

  const float shrink = 1.0f - 0.05f * refraction;
  Vertex v;
  v.x = p.x, v.y = p.y, v.z = p.z;
  v.nx = n.x, v.ny = n.y, v.nz = n.z;
  v.diffuse = entry.colour;
  v.u = shrink * ((p.x + refraction * u * t.x) * inverseExtentX) + 0.5f;
  v.v = shrink * ((p.z + refraction * u * t.z) * inverseExtentZ) + 0.5f;
  return v;
}
