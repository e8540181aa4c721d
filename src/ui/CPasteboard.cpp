#include "CPasteboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMutex>
#include <QMutexLocker>

namespace {
QMutex mutex;
QString processText;

QClipboard* systemClipboard() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
               ? QGuiApplication::clipboard()
               : nullptr;
}
}  // namespace

void CPasteboard::setString(const QString& text) {
    {
        QMutexLocker lock(&mutex);
        processText = text;
    }
    if (QClipboard* clipboard = systemClipboard()) {
        clipboard->setText(text);
    }
}

QString CPasteboard::string() {
    if (QClipboard* clipboard = systemClipboard()) {
        const QString text = clipboard->text();
        if (!text.isEmpty()) {
            return text;
        }
    }
    QMutexLocker lock(&mutex);
    return processText;
}
