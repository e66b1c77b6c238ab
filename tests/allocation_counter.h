// Counts every allocation of the test executable that links
// allocation_counter.cpp, so a test can assert that some work allocates
// nothing.
#pragma once

namespace qx::test {
long allocations_so_far();
}
