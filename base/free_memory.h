#pragma once
// Giving memory that was freed back to the system.

namespace varnex {

/// Hands the memory the allocator holds freed back to the system. A large sheet is read on two
/// threads; what the second thread allocated goes back to that thread's own pool when freed and
/// stays there, out of reach of the export that follows, unless it is returned. Costs a few
/// milliseconds; call it after work that freed a lot.
void returnFreedMemory();

}  // namespace varnex
