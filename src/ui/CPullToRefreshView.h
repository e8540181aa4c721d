#pragma once

#include <QtQml/qqmlregistration.h>
#include <QDateTime>
#include <QObject>
#include <QString>

/// The pull-down refresh header above the rate list: its state and the texts it shows.
class CPullToRefreshView : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the rate list screen")

    Q_PROPERTY(int state READ state NOTIFY stateChanged)
    Q_PROPERTY(QString statusText READ statusText NOTIFY stateChanged)
    Q_PROPERTY(bool arrowVisible READ arrowVisible NOTIFY stateChanged)
    /// The arrow is turned by half a turn (releasing refreshes).
    Q_PROPERTY(bool arrowFlipped READ arrowFlipped NOTIFY stateChanged)
    /// The arrow's turn is animated (0.18 s): always into state 0, and back only out of it.
    Q_PROPERTY(bool arrowAnimated READ arrowAnimated NOTIFY stateChanged)
    Q_PROPERTY(bool activityRunning READ activityRunning NOTIFY stateChanged)
    Q_PROPERTY(QString lastUpdateText READ lastUpdateText NOTIFY lastUpdateChanged)

public:
    enum State { ReleaseToRefresh = 0, Normal = 1, Loading = 2, UpToDate = 3 };
    Q_ENUM(State)

    explicit CPullToRefreshView(QObject* parent = nullptr);

    int state() const { return state_; }
    void setState(int state);
    QString statusText() const;
    bool arrowVisible() const { return state_ == ReleaseToRefresh || state_ == Normal; }
    bool arrowFlipped() const { return state_ == ReleaseToRefresh; }
    bool arrowAnimated() const { return arrowAnimated_; }
    bool activityRunning() const { return state_ == Loading; }

    QDateTime lastUpdateDate() const { return lastUpdateDate_; }
    /// "NeverUpdated" without a date, else "LastUpdated" with the date and time (short styles).
    QString lastUpdateText() const;
    void setLastUpdateDate(const QDateTime& date);

signals:
    void stateChanged();
    void lastUpdateChanged();

private:
    int state_ = Normal;
    bool arrowAnimated_ = false;
    QDateTime lastUpdateDate_;
};
