#pragma once

#include <cstddef>
#include <cstdint>

namespace res {

// The form in which the build compiles a resource manifest into the program (see
// cmake/ResourceCompiler.cmake): one entry per resource, its bytes linked in read-only.
struct TableResource {
  uint16_t typeId;           // the type's number when typeName is null
  const char16_t* typeName;  // the type's name, or null
  uint16_t id;
  uint16_t language;
  const uint8_t* begin;
  const uint8_t* end;
};

// One string-table entry, as UTF-8.
struct TableString {
  uint16_t id;
  uint16_t language;
  const char* text;
};

struct ResourceTable {
  const TableResource* resources;
  size_t resourceCount;
  const TableString* strings;
  size_t stringCount;
};

// The player's own resources, compiled from assets/resources.manifest.
const ResourceTable& OwnResourceTable();

}  // namespace res
