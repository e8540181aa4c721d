#pragma once

/// The heap a start fills (about 10 MB of small objects, images and the window's backing store)
/// is reserved at once and backed by transparent huge pages where the kernel offers them on
/// request: the start then takes a few large page faults instead of some 1,700 small ones,
/// which cost more in time than any other single step in a virtual machine. Large allocations
/// come from that heap meanwhile. `release` restores the allocator's usual settings once the
/// first frame is shown, so that large blocks freed later go back to the system. Does nothing
/// where the C library is not glibc.
namespace StartupHeap {

void reserve();
void release();

}  // namespace StartupHeap
