#pragma once

#include <array>
#include <cstdint>

#include "core/param/media_direction.h"
#include "fx/bases/ds_central_based.h"

// The base of the brushes that work about a line through their centre: the line's direction d
// (its perpendicular p) and, in texture coordinates of the render target (x across, y down,
// 0 to 1), the implicit equations A x + B y + C = 0 of the line along d ("Ln") and of the line
// along p ("Lt"), both through the centre, and their binding. Its record, "DS_LineBased" version
// 1, holds the direction and the centre's floats (with no "DS_CentralBased" header between) before
// the "DS_FX_Constructor" record.
class DS_LineBased : public DS_CentralBased {
 public:
  static constexpr uint32_t kVersion = 1;

  bool Save(DS_IOF_Archive& archive) const override;
  // The body after its header: the direction stored straight (its vectors follow), then the
  // centre and the base record as DS_CentralBased reads them.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // DS_CentralBased::Prepare, then ComputeLines.
  void Prepare(ComRef<gfx::Texture>* maskSlot) override;
  // Both lines with unit normals, through the centre (moved by the target point outside mode 0
  // when KindFlag is true).
  void ComputeLines();
  // As ComputeLines, but "Lt" is divided by the length of Ln's normal rather than its own, so it
  // keeps its own length (not 1 where the target is not square).
  void ComputeLinesPerspective();
  // BindCenter, "Ln", "Lt", and the unit directions "t" (across the line) and "n" (along it) in
  // texture coordinates.
  void BindLines(DS_2D_Light& canvas);

  MediaDirection lineDirection;
  std::array<float, 3> ln{};
  std::array<float, 3> lt{};

 private:
  // Ln with a unit normal, and Lt not yet divided by anything.
  void ComputeLineEquations(std::array<float, 3>& lineAcross);
};
