#pragma once

// Heap allocations of the whole process so far, counted at the C allocator that operator new also
// calls (counting_allocator.cpp: how, on each platform).
long HeapAllocations();
