#include "CPullToRefreshView.h"

#include "CUISettings.h"
#include "Localization.h"

#include <QLocale>

CPullToRefreshView::CPullToRefreshView(QObject* parent) : QObject(parent) {}

void CPullToRefreshView::setState(int state) {
    if (state < ReleaseToRefresh || state > UpToDate) {
        return;
    }
    arrowAnimated_ = state == ReleaseToRefresh || state_ == ReleaseToRefresh;
    if (state == state_) {
        return;
    }
    state_ = state;
    emit stateChanged();
}

QString CPullToRefreshView::statusText() const {
    switch (state_) {
        case ReleaseToRefresh:
            return Localization::localizedString(QStringLiteral("ReleaseToRefresh"));
        case Loading:
            return Localization::localizedString(QStringLiteral("Loading"));
        case UpToDate:
            return Localization::localizedString(QStringLiteral("UpToDate"));
        default:
            return Localization::localizedString(QStringLiteral("PullDownToRefresh"));
    }
}

QString CPullToRefreshView::lastUpdateText() const {
    if (!lastUpdateDate_.isValid()) {
        return Localization::localizedString(QStringLiteral("NeverUpdated"));
    }
    const QLocale locale = CUISettings::displayLocale();
    const QDateTime local = lastUpdateDate_.toLocalTime();
    const QString when = locale.toString(local.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                         locale.toString(local.time(), QLocale::ShortFormat);
    return Localization::localizedString(QStringLiteral("LastUpdated")).arg(when);
}

void CPullToRefreshView::setLastUpdateDate(const QDateTime& date) {
    if (date == lastUpdateDate_) {
        return;
    }
    lastUpdateDate_ = date;
    emit lastUpdateChanged();
}
