#pragma once

// The C library's heap, told to give memory back: a server that grows under
// load must shrink again when the load is over.
namespace parlavo::server {

// Call once at start. Large blocks (texts, replies) get mappings of their
// own, unmapped when freed; each heap keeps at most 1 MiB free at its top;
// at most 4 heaps for all threads. Without this the C library raises its
// thresholds after every large block and keeps megabytes in each of its
// heaps (one per busy thread, up to 8 per core).
void KeepHeapSmall();

// Hands the free pages inside the heaps back to the system.
void ReturnFreeHeapMemory();

}  // namespace parlavo::server
