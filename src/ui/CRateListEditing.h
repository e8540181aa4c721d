#pragma once

#include <QTimer>

#include <chrono>
#include <functional>

/// The rate list's editing state: editing the whole list or swiping one row, whether the pull
/// header may refresh, and the refresh that a changed list asks for a moment after editing ends
/// (so that a user who keeps adding currencies is not interrupted by one).
class CRateListEditing {
public:
    CRateListEditing(std::chrono::milliseconds refreshDelay, std::function<void()> refreshDue);

    bool isEditing() const { return editing_; }
    bool isInSwipeToDeleteMode() const { return swipeToDelete_; }
    bool isPullToRefreshEnabled() const { return pullToRefreshEnabled_; }
    bool updateRatesAfterEditing() const { return updateRatesAfterEditing_; }
    std::chrono::milliseconds refreshDelay() const { return refreshTimer_.intervalAsDuration(); }
    bool isRefreshPending() const { return refreshTimer_.isActive(); }

    /// False when the state already was `editing`. Ending editing ends a swipe too and starts
    /// the delayed refresh when the list gained currencies.
    bool setEditing(bool editing);
    /// Editing for one swiped row; false while the whole list is being edited.
    bool beginSwipeToDelete();
    /// Currencies were added: the rates are refreshed when editing ends.
    void listGainedCurrencies() { updateRatesAfterEditing_ = true; }
    /// The state of a freshly loaded view.
    void reset();

private:
    QTimer refreshTimer_;
    bool editing_ = false;
    bool swipeToDelete_ = false;
    bool pullToRefreshEnabled_ = true;
    bool updateRatesAfterEditing_ = false;
};
