#pragma once

#include <cstdint>
#include <memory>

#include "core/archive/ds_iof_archive.h"
#include "core/object/ds_iof_item.h"
#include "core/param/media_param_t.h"
#include "platform/math/d3dx_types.h"

class OwnedControlList;

// The outline a shaped particle emitter launches particles from: for each new particle the
// emitter asks for a random point and a launch direction, a lattice source for the centre of a
// grid cell. Points are added to what the caller passes in. Random draws are
// r = crt_rand() / 32767, in the order each kind gives.
//
// Cell counts come from files, so GridPoint with no rows or no columns answers the position
// instead of dividing by zero.
class ZKW_VFigure : public DS_IOF_Item {
 public:
  // The record every figure's chain ends with: "ZKW_VFigure", 1, Float cx, cy, cz.
  bool Save(DS_IOF_Archive& archive) const override;
  // The registered class name, the one Save writes.
  virtual const char* GetClassName() const = 0;
  // No figure puts controls on its parameters.
  virtual void AttachParamCallbacks(OwnedControlList* list);
  // Adds a random point of the figure to `point` and writes a unit launch direction; `spin`
  // turns both about Y by a random angle where the kind supports it.
  virtual void EmitPointAndDirection(D3DXVECTOR3* point, D3DXVECTOR3* direction, bool spin) = 0;
  // Adds a random point of the figure to `point`: here the point of EmitPointAndDirection without
  // spin.
  virtual void AddRandomPoint(D3DXVECTOR3* point);
  // The centre of lattice cell `index`, cells numbered row by row.
  virtual D3DXVECTOR3* GridPoint(D3DXVECTOR3* out, unsigned index, unsigned rows,
                                 unsigned columns) = 0;
  // Four operations of the figure interface that no kind implements; they keep the interface's
  // operation order and answer 0, 0, null and nothing.
  virtual float UnusedPairQuery(float, float) { return 0.0f; }
  virtual float UnusedQuery(float) { return 0.0f; }
  virtual void* UnusedObject() { return nullptr; }
  virtual void UnusedSet(float) {}

  // The position's fields as three Float stored straight, after the ZKW_VFigure header.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  MediaParamT<D3DXVECTOR3> position{D3DXVECTOR3(0.0f, 0.0f, 0.0f)};

 protected:
  ZKW_VFigure() = default;
  ZKW_VFigure(const ZKW_VFigure&) = delete;
  ZKW_VFigure& operator=(const ZKW_VFigure&) = delete;

  const D3DXVECTOR3& Center() const { return position.Value(); }
  // Writes the position to `out` and answers true when the lattice has no rows or no columns.
  bool EmptyLattice(D3DXVECTOR3* out, unsigned rows, unsigned columns) const;
  // Reads the ZKW_VFigure header and body that end every kind's record.
  void ReadBase(DS_IOF_Archive& archive) { ReadBody(archive, ReadBaseHeader(archive)); }
};

// A figure record read by class name through the figure registry; null for a class the registry
// does not hold (the stream is failed then).
std::unique_ptr<ZKW_VFigure> ReadVFigure(DS_IOF_Archive& archive);

// A new figure of the class named in UTF-8 with its defaults, or null when no figure class is
// registered under it. Invalid UTF-8 raises std::range_error.
std::unique_ptr<ZKW_VFigure> CreateVFigureByName(const char* utf8Name);
