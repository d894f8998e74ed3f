#include "analysis/ParallelRows.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace tarvo {

void RunRowsInParallel(int rows, unsigned threads, const std::function<RowWork()>& makeWork) {
    unsigned workers = threads > 0 ? threads : std::max(1u, std::thread::hardware_concurrency());
    workers = std::min(workers, static_cast<unsigned>(std::max(rows, 1)));
    if (workers <= 1) {
        const RowWork work = makeWork();
        for (int i = 0; i < rows; ++i)
            work(i);
        return;
    }

    std::atomic<int> nextRow{0};
    std::atomic<bool> stop{false};
    std::mutex errorMutex;
    std::exception_ptr error;
    const auto run = [&] {
        try {
            const RowWork work = makeWork();
            for (int i = nextRow.fetch_add(1); i < rows && !stop.load(std::memory_order_relaxed);
                 i = nextRow.fetch_add(1))
                work(i);
        } catch (...) {
            std::lock_guard lock(errorMutex);
            if (!error)
                error = std::current_exception();
            stop.store(true);
        }
    };
    std::vector<std::thread> pool;
    pool.reserve(workers - 1);
    try {
        for (unsigned t = 1; t < workers; ++t)
            pool.emplace_back(run);
    } catch (...) {
        // No further thread could be started: the ones running and this one
        // share the rows.
    }
    run();
    for (std::thread& t : pool)
        t.join();
    if (error)
        std::rethrow_exception(error);
}

} // namespace tarvo
