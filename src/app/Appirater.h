#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>

class CViewController;
class DocumentOpener;
class UserDefaults;

/// The rating prompt, told of every launch and every return to the foreground. Once the
/// application has been in use for some days and some number of uses, it asks the user to rate
/// it, at most once per version: Rate opens the store's review page, Remind me later asks again
/// after a few days, No, thanks never asks again for this version. Its state lives in the
/// settings store.
class Appirater : public QObject {
    Q_OBJECT

public:
    // Settings keys.
    static inline const QString VersionKey = QStringLiteral("RatingPromptVersion");
    static inline const QString FirstUseDateKey = QStringLiteral("RatingPromptFirstUseDate");
    static inline const QString UseCountKey = QStringLiteral("RatingPromptUseCount");
    static inline const QString ReminderDateKey = QStringLiteral("RatingPromptReminderDate");
    /// Rated or declined: no more questions for this version.
    static inline const QString AnsweredKey = QStringLiteral("RatingPromptAnswered");
    /// Optional numbers in the settings store that replace the defaults below.
    static inline const QString DaysUntilPromptKey = QStringLiteral("RatingPromptDaysUntilPrompt");
    static inline const QString UsesUntilPromptKey = QStringLiteral("RatingPromptUsesUntilPrompt");
    static inline const QString DaysBeforeRemindingKey =
        QStringLiteral("RatingPromptDaysBeforeReminding");

    enum class Answer { Rate = 0, RemindLater = 1, Decline = 2 };

    struct Options {
        /// Null: the standard store.
        UserDefaults* defaults = nullptr;
        /// Empty: the build's version.
        QString version;
        int daysUntilPrompt = 10;
        int usesUntilPrompt = 20;
        int daysBeforeReminding = 2;
        /// Null: the system clock.
        std::function<QDateTime()> clock;
        /// Null: the user's browser.
        DocumentOpener* opener = nullptr;
        /// Nothing: the process-wide endpoints' review address.
        QUrl reviewUrl;
    };

    explicit Appirater(Options options, QObject* parent = nullptr);

    /// The screen whose alert asks the question (not owned); without one nothing is asked.
    void setPresenter(CViewController* presenter) { presenter_ = presenter; }

    void appLaunched(bool canPromptForRating);
    void appEnteredForeground(bool canPromptForRating);

    /// Whether the question is due now (the schedule, without counting a use).
    bool ratingConditionsHaveBeenMet() const;
    /// The user's answer to the question.
    void answer(Answer answer);

    int useCount() const;

signals:
    /// The question is due; the presenter shows it (tests listen here).
    void promptRequested();

private:
    /// Counts one use, starting afresh when the version changed, and asks when due.
    void incrementUseAndPrompt(bool canPrompt);
    void showPrompt();
    UserDefaults& defaults() const;
    QDateTime now() const;
    int setting(const QString& key, int fallback) const;

    Options options_;
    CViewController* presenter_ = nullptr;
    bool asking_ = false;
};
