#pragma once
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

// Runs work(i) for i = 0 .. count - 1 on `workers` threads and hands every
// result to deliver(i, result) on the calling thread, in index order, as
// soon as it and all before it are done. At most `window` items are started
// and not yet delivered, so memory follows the work in flight rather than
// the size of the batch. With no workers everything runs on the calling
// thread, one item after another.
//
// `work` must be safe to run on several threads at once and must not throw.
template<typename Result>
void runOrdered(int count, int workers, int window, const std::function<Result(int)> &work,
                const std::function<void(int, Result &)> &deliver)
{
    if (workers <= 0 || count <= 1) {
        for (int i = 0; i < count; ++i) {
            Result r = work(i);
            deliver(i, r);
        }
        return;
    }
    if (window < workers)
        window = workers;

    std::mutex mutex;
    std::condition_variable canStart, isReady;
    std::map<int, Result> ready;
    int next = 0;        // next item to start
    int delivered = 0;   // items handed to deliver

    auto worker = [&] {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            canStart.wait(lock, [&] { return next >= count || next < delivered + window; });
            if (next >= count)
                return;
            const int i = next++;
            lock.unlock();
            Result r = work(i);
            lock.lock();
            ready.emplace(i, std::move(r));
            isReady.notify_one();
        }
    };
    std::vector<std::thread> threads;
    const int started = workers < count ? workers : count;
    threads.reserve(started);
    for (int t = 0; t < started; ++t)
        threads.emplace_back(worker);

    for (int i = 0; i < count; ++i) {
        Result r;
        {
            std::unique_lock<std::mutex> lock(mutex);
            isReady.wait(lock, [&] { return ready.count(i) != 0; });
            auto it = ready.find(i);
            r = std::move(it->second);
            ready.erase(it);
            delivered = i + 1;
        }
        canStart.notify_all();
        deliver(i, r);
    }
    for (std::thread &t : threads)
        t.join();
}
