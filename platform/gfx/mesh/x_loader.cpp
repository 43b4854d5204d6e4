// .x loading in a program of its own: assimp's .x reader is not safe against damaged data, so it
// runs in the reader program (platform/gfx/mesh/x_reader), which sends the flattened mesh back
// through a pipe. A missing reader, a crash, a hang (cut off after the time limit), a reply past
// the size limit or a mesh that does not check out is a failure.
#include <cstring>

#include "platform/gfx/mesh/mesh.h"
#include "platform/gfx/mesh/reader_process.h"
#include "platform/gfx/mesh/x_reply.h"
#include "platform/sys/file_paths.h"

namespace gfx {

namespace {

HResult Fail(std::string* error, std::string reason) {
  if (error) *error = std::move(reason);
  return kFail;
}

}  // namespace

HResult LoadMeshFromXInMemory(std::span<const uint8_t> data, Mesh* out, std::string* error) {
  if (!out) return kInvalidCall;
  *out = {};
  if (data.size() < 16 || std::memcmp(data.data(), "xof ", 4) != 0)
    return Fail(error, "not .x data");
  const std::filesystem::path program = xfile::ReaderProgram();
  if (program.empty()) return Fail(error, "the .x reader program is missing");
  std::string reason;
  const auto reply = xfile::RunReader(program, data, {}, &reason);
  if (!reply) return Fail(error, std::move(reason));
  if (xfile::DecodeFailure(*reply, &reason)) return Fail(error, std::move(reason));
  if (!xfile::DecodeMesh(*reply, out)) return Fail(error, "the .x reader sent a damaged mesh");
  return kOk;
}

HResult LoadMeshFromXFile(const std::filesystem::path& path, Mesh* out, std::string* error) {
  if (!out) return kInvalidCall;
  *out = {};
  const auto bytes = sys::ReadWholeFile(path);
  if (!bytes) return Fail(error, "cannot read " + path.string());
  return LoadMeshFromXInMemory(*bytes, out, error);
}

}  // namespace gfx
