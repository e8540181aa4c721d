#include "NotificationCenter.h"


#include <gtest/gtest.h>

namespace {

TEST(NotificationCenter, DeliversByNameAndSenderInOrder) {
    NotificationCenter center;
    int a = 0;
    int b = 0;
    QStringList seen;
    center.addObserver(&seen, QStringLiteral("CurrencyDataSourceChanged"), nullptr,
                       [&](const QString& name, const void*) { seen << name; });
    center.addObserver(&seen, QStringLiteral("BaseCurrencyChanged"), &a,
                       [&](const QString& name, const void*) { seen << name; });
    center.post(QStringLiteral("CurrencyDataSourceChanged"), &b);
    center.post(QStringLiteral("BaseCurrencyChanged"), &b);  // other sender: filtered out
    center.post(QStringLiteral("BaseCurrencyChanged"), &a);
    center.post(QStringLiteral("Unrelated"), &a);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("CurrencyDataSourceChanged"), QStringLiteral("BaseCurrencyChanged")}));
}

TEST(NotificationCenter, RemovedObserversAreNotCalledEvenMidDelivery) {
    NotificationCenter center;
    int calls = 0;
    NotificationCenter::Token second = 0;
    center.addObserver(nullptr, QStringLiteral("n"), nullptr, [&](const QString&, const void*) {
        ++calls;
        center.removeObserver(second);
    });
    second = center.addObserver(nullptr, QStringLiteral("n"), nullptr, [&](const QString&, const void*) { ++calls; });
    center.post(QStringLiteral("n"), nullptr);
    EXPECT_EQ(calls, 1);

    int owned = 0;
    center.addObserver(&owned, QStringLiteral("m"), nullptr, [&](const QString&, const void*) { ++owned; });
    center.addObserver(&owned, QStringLiteral("m"), nullptr, [&](const QString&, const void*) { ++owned; });
    center.removeObserver(static_cast<const void*>(&owned));
    center.post(QStringLiteral("m"), nullptr);
    EXPECT_EQ(owned, 0);
}

}  // namespace
