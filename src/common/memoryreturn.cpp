#include "common/memoryreturn.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace MemoryReturn {

void giveBack()
{
#if defined(__GLIBC__)
    ::malloc_trim(0);
#endif
}

} // namespace MemoryReturn
