#include "OperationQueue.h"

#include <QMutexLocker>

void Operation::cancel() {
    QMutexLocker lock(&handlerMutex_);
    cancelled_.store(true);
    if (handler_) {
        std::function<void()> handler = std::move(handler_);
        handler_ = nullptr;
        handler();
    }
}

void Operation::setCancellationHandler(std::function<void()> handler) const {
    QMutexLocker lock(&handlerMutex_);
    if (handler && cancelled_.load()) {
        handler();
        return;
    }
    handler_ = std::move(handler);
}

OperationQueue::OperationQueue(const QString& name) {
    thread_ = QThread::create([this] { run(); });
    thread_->setObjectName(name);
    // Started with the first operation: most clients of a run never send anything.
}

OperationQueue::~OperationQueue() {
    {
        QMutexLocker lock(&mutex_);
        stopping_ = true;
        wake_.wakeAll();
    }
    thread_->wait();
    delete thread_;
}

std::shared_ptr<Operation> OperationQueue::addOperation(Work work) {
    auto operation = std::make_shared<Operation>();
    QMutexLocker lock(&mutex_);
    pending_.push_back({operation, std::move(work)});
    if (!started_) {
        started_ = true;
        thread_->start();
    }
    wake_.wakeAll();
    return operation;
}

void OperationQueue::cancelAllOperations() {
    QMutexLocker lock(&mutex_);
    for (Item& item : pending_) {
        item.operation->cancel();
    }
    if (running_) {
        running_->cancel();
    }
}

void OperationQueue::waitUntilAllOperationsAreFinished() {
    QMutexLocker lock(&mutex_);
    while (!pending_.empty() || running_) {
        idle_.wait(&mutex_);
    }
}

int OperationQueue::operationCount() const {
    QMutexLocker lock(&mutex_);
    return static_cast<int>(pending_.size()) + (running_ ? 1 : 0);
}

void OperationQueue::run() {
    QMutexLocker lock(&mutex_);
    for (;;) {
        while (pending_.empty() && !stopping_) {
            wake_.wait(&mutex_);
        }
        if (pending_.empty()) {
            return;  // stopping, and nothing left to do
        }
        Item item = std::move(pending_.front());
        pending_.pop_front();
        if (!item.operation->isCancelled()) {
            running_ = item.operation;
            lock.unlock();
            item.work(*item.operation);
            item = {};
            lock.relock();
            running_.reset();
        }
        if (pending_.empty()) {
            idle_.wakeAll();
        }
    }
}
