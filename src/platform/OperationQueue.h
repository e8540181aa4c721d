#pragma once

#include <QMutex>
#include <QString>
#include <QThread>
#include <QWaitCondition>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>

/// One queued piece of work with a cancelled flag that the work itself checks.
class Operation {
public:
    bool isCancelled() const { return cancelled_.load(); }
    void cancel() { cancelled_.store(true); }

private:
    std::atomic<bool> cancelled_{false};
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
    QThread* thread_ = nullptr;
};
