#include "CRateListEditing.h"

CRateListEditing::CRateListEditing(std::chrono::milliseconds refreshDelay,
                                   std::function<void()> refreshDue) {
    refreshTimer_.setSingleShot(true);
    refreshTimer_.setInterval(refreshDelay);
    QObject::connect(&refreshTimer_, &QTimer::timeout, std::move(refreshDue));
}

bool CRateListEditing::setEditing(bool editing) {
    if (editing == editing_) {
        return false;
    }
    editing_ = editing;
    pullToRefreshEnabled_ = !editing;
    if (!editing) {
        swipeToDelete_ = false;
        if (updateRatesAfterEditing_) {
            updateRatesAfterEditing_ = false;
            refreshTimer_.start();
        }
    }
    return true;
}

bool CRateListEditing::beginSwipeToDelete() {
    if (editing_) {
        return false;
    }
    swipeToDelete_ = true;
    return true;
}

void CRateListEditing::reset() {
    pullToRefreshEnabled_ = true;
    swipeToDelete_ = false;
}
