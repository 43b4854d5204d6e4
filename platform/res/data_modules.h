#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/res/resource_module.h"

namespace res {

// The module of a file read as data (a PE file whose resources are read and whose code never
// runs), kept in a process-wide table under its file name: two paths with the same file name
// share the module first read. A relative path that does not exist is also looked for beside
// the program. Null when the file cannot be read or is no PE file; a failure is not remembered,
// so the next call tries again. Modules are never unloaded.
const Module* GetDataModule(std::u16string_view path);

// The bytes of a module resource as resource-data records take them: the "DDS" resource with
// the id, else the RT_RCDATA one; a module that cannot be read makes both searches use the
// player's own resources. Nothing when neither exists.
std::optional<std::vector<uint8_t>> LoadModuleResourceBytes(std::u16string_view module,
                                                            uint16_t id);

}  // namespace res
