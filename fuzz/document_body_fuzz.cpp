// Reads arbitrary bytes as the body of a project's document record (the first byte picks the
// version) and as a multi-frame picture container, without a device, as a damaged project
// would reach them.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "core/archive/ds_iof_r.h"
#include "core/archive/ds_iof_w.h"
#include "core/archive/resource_buffer.h"
#include "core/picture/frame_list.h"
#include "player/document/doc_res_manager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::span<const uint8_t> body(data + 1, size - 1);

  ResourceBuffer buffer;
  buffer.SetMemory(body.data(), body.size());
  DS_IOF_Archive archive(std::make_unique<DS_IOF_R<ResourceBuffer>>(&buffer));
  DS_DocResManager document;
  document.Read(archive, data[0] % 6);
  for (const auto& [key, frames] : document.framesByLink)
    document.RegisterSavedLink(DS_FileLink3(key.name, key.id));
  DS_IOF_Archive out(std::make_unique<DS_IOF_W>());
  document.WriteRecord(out);

  std::vector<PictureFrame> frames;
  (void)ReadFrameContainer(body, frames);  // only the reading is fuzzed
  return 0;
}
