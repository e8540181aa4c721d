#include "Endpoints.h"

#include <QFile>
#include <QLoggingCategory>
#include <QMutex>
#include <QMutexLocker>

namespace {

Q_LOGGING_CATEGORY(lcEndpoints, "numiva.providers")

QMutex standardMutex;
// The process-wide set, once loaded.
Endpoints standardSet;
bool standardLoaded = false;
QString standardOverrideFile;

std::optional<QByteArray> readFile(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error != nullptr) {
            *error = QStringLiteral("Cannot read the endpoints file “%1”: %2")
                         .arg(path, file.errorString());
        }
        return std::nullopt;
    }
    return file.readAll();
}

}  // namespace

Endpoints Endpoints::defaults() {
    Endpoints endpoints;
    QString error;
    if (!endpoints.mergeFile(QStringLiteral(":/endpoints.ini"), &error)) {
        qCWarning(lcEndpoints).noquote() << error;
    }
    return endpoints;
}

Endpoints Endpoints::standard() {
    QMutexLocker lock(&standardMutex);
    if (!standardLoaded) {
        Endpoints endpoints = defaults();
        QString path = standardOverrideFile;
        if (path.isEmpty()) {
            path = qEnvironmentVariable("NUMIVA_ENDPOINTS");
        }
        QString error;
        if (!path.isEmpty() && !endpoints.mergeFile(path, &error)) {
            qCWarning(lcEndpoints).noquote() << error;
        }
        standardSet = std::move(endpoints);
        standardLoaded = true;
    }
    return standardSet;
}

bool Endpoints::setStandardOverrideFile(const QString& path, QString* error) {
    Endpoints endpoints = defaults();
    if (!path.isEmpty() && !endpoints.mergeFile(path, error)) {
        return false;
    }
    QMutexLocker lock(&standardMutex);
    standardOverrideFile = path;
    standardLoaded = !path.isEmpty();
    if (standardLoaded) {
        standardSet = std::move(endpoints);
    }
    return true;
}

void Endpoints::setStandard(std::optional<Endpoints> endpoints) {
    QMutexLocker lock(&standardMutex);
    standardLoaded = endpoints.has_value();
    if (endpoints) {
        standardSet = std::move(*endpoints);
    }
}

std::optional<QMap<QString, QString>> Endpoints::parse(const QByteArray& text, QString* error) {
    QMap<QString, QString> values;
    const QStringList lines = QString::fromUtf8(text).split(u'\n');
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const QString line = lines[index].trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#')) {
            continue;
        }
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        const QString key = equals < 0 ? QString() : line.left(equals).trimmed();
        if (key.isEmpty()) {
            if (error != nullptr) {
                *error = QStringLiteral("Line %1 is not of the form “key = value”: %2")
                             .arg(index + 1)
                             .arg(line);
            }
            return std::nullopt;
        }
        values.insert(key, line.mid(equals + 1).trimmed());
    }
    return values;
}

bool Endpoints::mergeFile(const QString& path, QString* error) {
    const std::optional<QByteArray> text = readFile(path, error);
    if (!text) {
        return false;
    }
    QString reason;
    const std::optional<QMap<QString, QString>> parsed = parse(*text, &reason);
    if (!parsed) {
        if (error != nullptr) {
            *error = QStringLiteral("The endpoints file “%1” is malformed. %2").arg(path, reason);
        }
        return false;
    }
    for (auto it = parsed->constBegin(); it != parsed->constEnd(); ++it) {
        values_.insert(it.key(), it.value());
    }
    return true;
}

QUrl Endpoints::url(const QString& key, const QString& path, const QString& query) const {
    QString address = value(key);
    if (!path.isEmpty()) {
        while (address.endsWith(u'/')) {
            address.chop(1);
        }
        address += path.startsWith(u'/') ? path : u'/' + path;
    }
    if (!query.isEmpty()) {
        address += u'?' + query;
    }
    return QUrl(address, QUrl::TolerantMode);
}
