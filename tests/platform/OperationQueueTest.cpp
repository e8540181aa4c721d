#include "OperationQueue.h"

#include <QSemaphore>

#include <gtest/gtest.h>

namespace {

TEST(OperationQueue, RunsInOrderOnItsOwnThread) {
    OperationQueue queue(QStringLiteral("test"));
    QList<int> order;
    QThread* ranOn = nullptr;
    for (int i = 0; i < 5; ++i) {
        queue.addOperation([&, i](const Operation&) {
            order << i;
            ranOn = QThread::currentThread();
        });
    }
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_EQ(order, (QList<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(ranOn, queue.thread());
    EXPECT_EQ(queue.operationCount(), 0);
}

TEST(OperationQueue, CancelSkipsQueuedWorkAndFlagsTheRunningOne) {
    OperationQueue queue(QStringLiteral("test"));
    QSemaphore started;
    QSemaphore release;
    bool sawCancel = false;
    bool laterRan = false;
    queue.addOperation([&](const Operation& op) {
        started.release();
        release.acquire();
        sawCancel = op.isCancelled();
    });
    queue.addOperation([&](const Operation&) { laterRan = true; });
    started.acquire();
    queue.cancelAllOperations();
    release.release();
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_TRUE(sawCancel);
    EXPECT_FALSE(laterRan);

    bool afterCancel = false;
    queue.addOperation([&](const Operation&) { afterCancel = true; });
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_TRUE(afterCancel) << "work added after a cancel still runs";
}

TEST(OperationQueue, DestructionFinishesQueuedWork) {
    int done = 0;
    {
        OperationQueue queue(QStringLiteral("test"));
        for (int i = 0; i < 3; ++i) {
            queue.addOperation([&](const Operation&) { ++done; });
        }
    }
    EXPECT_EQ(done, 3);
}

}  // namespace
