#include "shellext/Holders.h"

#include <shlobj.h>

namespace tesselator::holder_detail {

void FreeWithShellAllocator(void* memory)
{
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator))) {
        allocator->Free(memory);
        allocator->Release();
    }
}

} // namespace tesselator::holder_detail
