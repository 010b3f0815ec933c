#pragma once

// Hands the memory the program has freed back to the system. A screen that held a large
// list or grid calls it when it closes: the list's blocks are freed whole, but a block the
// allocator had carved from memory it already held stays with the process until then.
namespace MemoryReturn {
void giveBack();
}
