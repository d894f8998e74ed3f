#pragma once
// Rows of a grid computed on several threads. Rows are handed out one at a
// time in increasing order; a computation that writes each row to its own
// place gives the same result whatever the schedule.

#include <functional>

namespace tarvo {

// A row computation of one thread: called with row indices, in increasing
// order, from that thread only, so it may keep scratch space of its own.
using RowWork = std::function<void(int row)>;

// Runs rows 0 .. rows-1 on up to `threads` threads (0: every core; never
// more threads than rows), the calling thread among them. Each thread gets
// its own RowWork from makeWork, called on that thread. The first exception
// thrown by any of them stops the handing out of rows and is rethrown here
// once every thread has ended. When no further thread can be started the
// running ones share the rows.
void RunRowsInParallel(int rows, unsigned threads, const std::function<RowWork()>& makeWork);

} // namespace tarvo
