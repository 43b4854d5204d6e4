// The resource table of a program that carries no resources of its own.
#include "platform/res/resource_table.h"

const res::ResourceTable& res::OwnResourceTable() {
  static const ResourceTable table{nullptr, 0, nullptr, 0};
  return table;
}
