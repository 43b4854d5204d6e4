#include "player/shell/process_memory.h"

#include <malloc.h>

void ReturnLargeBlocksToTheSystem() {
  mallopt(M_MMAP_THRESHOLD, 4 << 20);
}
