#pragma once

#include <QMutex>
#include <QString>
#include <QThread>
#include <QWaitCondition>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>

/// One queued piece of work with a cancelled flag that the work itself checks. Always owned by
/// a shared pointer, so work may keep its operation alive beyond its run (shared_from_this).
class Operation : public std::enable_shared_from_this<Operation> {
public:
    bool isCancelled() const { return cancelled_.load(); }
    /// Sets the flag and runs the cancellation handler, if any (once, on the calling thread).
    void cancel();
    /// Installs a function that `cancel` runs, so that work blocked in a wait (a network
    /// exchange) can be woken at once; it runs right here when the operation is already
    /// cancelled. It must not block. An empty function removes the handler: once that call
    /// returns, the old handler is neither running nor will it run.
    /// (Const, so that work handed a const operation can install one.)
    void setCancellationHandler(std::function<void()> handler) const;

private:
    std::atomic<bool> cancelled_{false};
    mutable QMutex handlerMutex_;
    mutable std::function<void()> handler_;
};

/// A background queue of its own: operations run one after another, in order, on one worker
/// thread that lives as long as the queue (so per-thread resources such as database connections
/// stay valid). Cancelled operations that have not started are skipped; a running one sees its
/// flag and stops early if it checks.
class OperationQueue {
public:
    using Work = std::function<void(const Operation&)>;

    explicit OperationQueue(const QString& name);
    /// Runs what is still queued (unless cancelled), then stops the worker.
    ~OperationQueue();
    OperationQueue(const OperationQueue&) = delete;
    OperationQueue& operator=(const OperationQueue&) = delete;

    std::shared_ptr<Operation> addOperation(Work work);
    /// Cancels every queued and running operation.
    void cancelAllOperations();
    /// Blocks until every operation added so far has finished or was skipped.
    void waitUntilAllOperationsAreFinished();
    int operationCount() const;

    QThread* thread() const { return thread_; }

private:
    struct Item {
        std::shared_ptr<Operation> operation;
        Work work;
    };
    void run();

    mutable QMutex mutex_;
    QWaitCondition wake_;
    QWaitCondition idle_;
    std::deque<Item> pending_;
    std::shared_ptr<Operation> running_;
    bool stopping_ = false;
    bool started_ = false;
    QThread* thread_ = nullptr;
};
