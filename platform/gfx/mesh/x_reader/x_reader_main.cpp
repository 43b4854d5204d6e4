// The .x reader program: reads .x data from its standard input, loads it with assimp and writes
// the flattened mesh, or a failure with its reason, to its standard output (see x_reply.h). The
// loader starts it for each mesh, so that damaged data can crash or hang only this process.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/gfx/mesh/fd_io.h"
#include "platform/gfx/mesh/x_reader/x_flatten.h"
#include "platform/gfx/mesh/x_reply.h"

using namespace gfx;
using namespace gfx::xfile;

namespace {

bool ReadAll(int fd, std::vector<uint8_t>* out) {
  uint8_t buffer[65536];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    out->insert(out->end(), buffer, buffer + n);
  }
}

}  // namespace

int main() {
  // Should the loader be gone, a hang still ends.
  alarm(unsigned(kReaderTimeLimit.count() / 1000) + 2);
  // The reply gets a descriptor of its own; whatever the library prints goes nowhere.
  const UniqueFd reply(fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3));
  const UniqueFd null(open("/dev/null", O_WRONLY | O_CLOEXEC));
  if (!reply || !null || dup2(null.Get(), STDOUT_FILENO) < 0) return 1;

  std::vector<uint8_t> data;
  if (!ReadAll(STDIN_FILENO, &data)) return 1;
  Mesh mesh;
  std::string error;
  const std::vector<uint8_t> answer =
      ImportFlattened(data, &mesh, &error) ? EncodeMesh(mesh) : EncodeFailure(error);
  // Ends without the exit-time checks of a sanitizer build: assimp leaks on its error paths,
  // and this process's memory goes with it.
  _exit(WriteAll(reply.Get(), answer) ? 0 : 1);
}
