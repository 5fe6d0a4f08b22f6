#pragma once

namespace platform {

// Has the allocator keep memory the program frees for its next use, instead
// of handing it back to the system at once and taking it again. A fresh page
// costs a fault, which is dear where the programs run under a hypervisor, and
// the long runs free and take the same few megabytes again for every company.
// Called first thing in main, before anything is allocated.
void KeepFreedMemory();

}  // namespace platform
