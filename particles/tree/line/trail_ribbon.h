#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "particles/behaviour/particle/particle_record.h"
#include "particles/tree/line/profile_point.h"
#include "player/render/dx_vertex.h"

// The ribbon drawn along a trail: the points a particle dropped behind it, oldest first, each as
// wide as its uniform scale.

// One frame per point at its world position when there are two points or more (none for fewer).
// Side A is the unit perpendicular (d.y, -d.x, 0) / |d| of the segment d coming into the point,
// side B that of the segment going out, side C = -side A; the first frame's side A is its side B
// and the last frame's side B its side A. A segment of length 0 keeps the side before it, so a
// trail that stops moving keeps the side it had; before the first segment with a length the side
// is 0, which collapses the ribbon to its centre line there.
std::vector<ProfilePoint> BuildTrailFrames(std::span<const ParticleHandle> points);

// Half the ribbon's width at a point: its uniform scale x 0.5.
float TrailHalfWidth(const ParticleRecord& point);
// A point's vertex colour (0xAARRGGBB): red, green and blue from the COLORREF `rgb`
// (0x00BBGGRR), alpha min(1, the point's alpha x its parent's world alpha).
uint32_t TrailVertexColour(uint32_t rgb, const ParticleRecord& point);

// A bevelled trail of n points takes 4n vertices and 5(n - 1) triangles (nothing below two).
uint32_t BevelledTrailVertices(size_t points);
uint32_t BevelledTrailTriangles(size_t points);

// How many leading points of each trail a mesh of at most `maxVertices` vertices holds: every
// trail its whole length until one does not fit, that one the points that fit (none when fewer
// than two do), and every later trail none, so that 16-bit indices never wrap.
std::vector<size_t> FitBevelledTrails(std::span<const size_t> pointCounts, uint32_t maxVertices);

// Writes the bevelled ribbon of `points` (nothing for fewer than two): per point four vertices,
// the side-C edge (u = 0), the centre (u = 0.5), the side-A and the side-B edge (u = 1), v = 0 and
// the second coordinate pair equal to the first; per segment five triangles, the strips from the
// side-C edge to the centre and from the centre to the side-A/B edge and at the inner point the
// bevel between its side-A and side-B vertices. Indices count from `vertexBase`.
void FillTrail(std::span<const ParticleHandle> points, uint32_t rgb, DX_V::PCT2* vertices,
               uint16_t* indices, uint16_t vertexBase);
