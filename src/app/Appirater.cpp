#include "Appirater.h"

#include "CAppStoreLinks.h"
#include "CDocumentInteraction.h"
#include "CInfoViewController.h"
#include "CViewController.h"
#include "Localization.h"
#include "UserDefaults.h"

Appirater::Appirater(Options options, QObject* parent)
    : QObject(parent), options_(std::move(options)) {
    if (options_.version.isEmpty()) {
        options_.version = CAboutViewController::bundleVersion();
    }
}

UserDefaults& Appirater::defaults() const {
    return options_.defaults != nullptr ? *options_.defaults : UserDefaults::standardUserDefaults();
}

QDateTime Appirater::now() const {
    return options_.clock ? options_.clock() : QDateTime::currentDateTimeUtc();
}

int Appirater::setting(const QString& key, int fallback) const {
    bool ok = false;
    const int value = defaults().objectForKey(key).toInt(&ok);
    return ok && value >= 0 ? value : fallback;
}

void Appirater::appLaunched(bool canPromptForRating) {
    incrementUseAndPrompt(canPromptForRating);
}

void Appirater::appEnteredForeground(bool canPromptForRating) {
    incrementUseAndPrompt(canPromptForRating);
}

int Appirater::useCount() const {
    return defaults().objectForKey(UseCountKey).toInt();
}

void Appirater::incrementUseAndPrompt(bool canPrompt) {
    UserDefaults& store = defaults();
    const QDateTime time = now();
    if (store.objectForKey(VersionKey).toString() != options_.version) {
        // A new version is asked about afresh, its first use being now.
        store.setObject(options_.version, VersionKey);
        store.setObject(time, FirstUseDateKey);
        store.setObject(1, UseCountKey);
        store.removeObjectForKey(ReminderDateKey);
        store.removeObjectForKey(AnsweredKey);
    } else {
        if (!store.dateForKey(FirstUseDateKey).isValid()) {
            store.setObject(time, FirstUseDateKey);
        }
        store.setObject(useCount() + 1, UseCountKey);
    }
    store.synchronize();
    if (canPrompt && ratingConditionsHaveBeenMet()) {
        showPrompt();
    }
}

bool Appirater::ratingConditionsHaveBeenMet() const {
    const UserDefaults& store = defaults();
    if (store.objectForKey(VersionKey).toString() != options_.version ||
        store.boolForKey(AnsweredKey)) {
        return false;
    }
    const QDateTime time = now();
    const QDateTime firstUse = store.dateForKey(FirstUseDateKey);
    const qint64 day = 24 * 60 * 60;
    if (!firstUse.isValid() ||
        firstUse.secsTo(time) < setting(DaysUntilPromptKey, options_.daysUntilPrompt) * day) {
        return false;
    }
    if (useCount() < setting(UsesUntilPromptKey, options_.usesUntilPrompt)) {
        return false;
    }
    const QDateTime reminder = store.dateForKey(ReminderDateKey);
    return !reminder.isValid() ||
           reminder.secsTo(time) >=
               setting(DaysBeforeRemindingKey, options_.daysBeforeReminding) * day;
}

void Appirater::showPrompt() {
    if (asking_) {
        return;
    }
    asking_ = true;
    // Asked from the event loop: at launch the window that shows the question is made after
    // the prompt has been told.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (presenter_ == nullptr) {
                asking_ = false;
                return;
            }
            emit promptRequested();
            const auto text = [](const char* key) {
                return Localization::localizedString(QString::fromLatin1(key));
            };
            presenter_->askChoice(
                text("RatingPromptTitle"), text("RatingPromptMessage"),
                {text("RatingPromptRate"), text("RatingPromptLater"), text("RatingPromptNever")},
                [this](int index) {
                    // Closed without a button: asked again later.
                    answer(index == 0   ? Answer::Rate
                           : index == 2 ? Answer::Decline
                                        : Answer::RemindLater);
                });
        },
        Qt::QueuedConnection);
}

void Appirater::answer(Answer answer) {
    asking_ = false;
    UserDefaults& store = defaults();
    switch (answer) {
        case Answer::Rate: {
            store.setObject(true, AnsweredKey);
            store.synchronize();
            const QUrl url =
                options_.reviewUrl.isValid() ? options_.reviewUrl : CAppStoreLinks().reviewUrl();
            DocumentOpener& opener =
                options_.opener != nullptr ? *options_.opener : DocumentOpener::platformDefault();
            if ((!url.isValid() || !opener.openUrl(url)) && presenter_ != nullptr) {
                presenter_->showMessage(
                    Localization::localizedString(QStringLiteral("CannotOpenAddress")));
            }
            return;
        }
        case Answer::RemindLater:
            store.setObject(now(), ReminderDateKey);
            break;
        case Answer::Decline:
            store.setObject(true, AnsweredKey);
            break;
    }
    store.synchronize();
}
