#pragma once

#include <QString>
#include <QStringList>

#include <functional>

/// The platform's text message (SMS) composer: whether a messaging program is there, and
/// handing it the recipients and the text. Main thread only.
class TextMessageComposer {
public:
    enum class Result { Handed, Failed };
    using Completion = std::function<void(Result result, const QString& errorText)>;

    virtual ~TextMessageComposer() = default;

    virtual bool canSendText() = 0;
    virtual void compose(const QStringList& recipients, const QString& body, Completion done) = 0;

    /// The process-wide composer of this desktop (the "sms:" handler, when one is installed).
    static TextMessageComposer& platformDefault();
};
