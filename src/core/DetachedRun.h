#pragma once

#include <QFuture>
#include <QPromise>

#include <thread>
#include <type_traits>
#include <utility>

// Runs `work` on a thread of its own that nothing waits for, and gives its result as a future.
// A read that never ends (a hung network share, a stalled disk) holds only that thread: never a
// pool that later work queues in, and never the program's end, which takes the thread with it
// (QCoreApplication waits for the global thread pool, not for this).
template <typename Work> QFuture<std::invoke_result_t<Work>> runDetached(Work work)
{
    QPromise<std::invoke_result_t<Work>> promise;
    auto future = promise.future();
    promise.start();
    std::thread([promise = std::move(promise), work = std::move(work)]() mutable {
        promise.addResult(work());
        promise.finish();
    }).detach();
    return future;
}
