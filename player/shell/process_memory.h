#pragma once

// Makes memory blocks of a few megabytes and more (pictures, texture levels, render targets,
// which the GL driver keeps in process memory, read-backs) come from the system and go back to
// it when freed. By default glibc raises its threshold for that after the first such free, and
// later blocks then stay resident in its heap. The player sets it first thing; programs that
// measure the player do the same.
void ReturnLargeBlocksToTheSystem();
