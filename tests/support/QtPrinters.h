#pragma once
// Readable Qt values in test failure messages (included into every test source).

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '[' << list.join(QStringLiteral(", ")).toStdString() << ']';
}

inline void PrintTo(const QDateTime& t, std::ostream* os) {
    *os << t.toString(Qt::ISODateWithMs).toStdString();
}
