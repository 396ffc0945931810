#include "FreedMemory.h"

// The Windows heap decommits what is freed by itself.
void returnFreedMemoryToTheSystem() {}
