// Memory for large data built in one go (a received document, its parsed nodes,
// the entries read from it), backed by 2 MB pages where the kernel has them.
//
// Every 4 KB page a process touches for the first time costs a page fault; under
// a hypervisor that costs microseconds, and reading a 40,000-entry change history
// touched some 7,000 pages. A huge page is one fault for 2 MB.
#pragma once

#include <cstddef>

// Asks the kernel to back the whole 2 MB stretches of [data, data + size) with
// huge pages when they are first touched. A hint: without huge pages, or for
// less than 2 MB, nothing changes.
void AdviseHugePages(void* data, size_t size);

// For a thread about to build large data with malloc (a reader filling
// thousands of strings): has the heap glibc keeps for the calling thread grow in
// steps of whole huge pages, backed by huge pages where the kernel has them. A
// hint; the heap's memory is the process's as before.
void AdviseHugePagesForThreadHeap();

// At the start of a program that builds large data: has the heap of the main
// thread and large blocks on any thread backed by huge pages where the kernel
// has them, the libraries' own allocations included. Call it before other
// threads start. A hint; a program that never allocates much pays only the
// address space.
void AdviseHugePagesForProcessHeap();

// Allocates `size` bytes, aligned for any type, from 2 MB blocks advised as
// above; a block is given back once everything taken from it is freed. Thread
// safe. Null when out of memory. Meant for allocators of libraries that take
// memory in pages of their own (pugixml's nodes), not for small objects.
void* AllocateFromHugePages(size_t size);
// Frees what AllocateFromHugePages gave; null is ignored.
void FreeToHugePages(void* data);
