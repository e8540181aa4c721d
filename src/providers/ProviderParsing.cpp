#include "ProviderParsing.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <limits>

namespace ProviderParsing {

std::optional<qint64> leadingInteger(QStringView text, qsizetype* end) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Beyond 18 digits a qint64 could overflow; no number we read has that many.
    qint64 value = 0;
    int digits = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        if (++digits > 18) {
            return std::nullopt;
        }
        value = value * 10 + (text[i].unicode() - u'0');
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (end != nullptr) {
        *end = i;
    }
    return negative ? -value : value;
}

qint32 integerFromText(QStringView text) {
    const std::optional<qint64> value = leadingInteger(text);
    if (!value || *value > std::numeric_limits<qint32>::max() ||
        *value < std::numeric_limits<qint32>::min()) {
        return 0;
    }
    return static_cast<qint32>(*value);
}

std::optional<qint64> wholeInteger(QStringView text) {
    qsizetype end = 0;
    const std::optional<qint64> value = leadingInteger(text, &end);
    if (!value || !text.mid(end).trimmed().isEmpty()) {
        return std::nullopt;
    }
    return value;
}

QByteArray utf8FromWindows1251Document(const QByteArray& data) {
    QStringDecoder decoder("windows-1251");
    QString text = decoder.isValid() ? decoder(data) : QString::fromLatin1(data);
    // Whatever the declaration says ("windows-1251" as a rule), the text is UTF-8 from here
    // on; only the declaration at the very start is touched.
    static const QRegularExpression declaredEncoding(
        QStringLiteral(R"(^(\s*<\?xml\b[^?>]*?)\s+encoding\s*=\s*(["'])[^"'?>]*\2)"));
    text.replace(declaredEncoding, QStringLiteral("\\1"));
    return text.toUtf8();
}

bool isUsableValue(const Decimal& value) {
    return !value.isNaN() && value > Decimal();
}

bool isUsableRow(const CCBRCurrencyInfo& row) {
    return !row.isoTextCode.isEmpty() && row.nominalValue >= 1 && isUsableValue(row.saleValue) &&
           isUsableValue(row.saleValueForCurrency());
}

CCBRCurrencyInfoPtr makeRow(const QString& code, const Decimal& saleValue) {
    auto row = std::make_shared<CCBRCurrencyInfo>();
    row->isoTextCode = code;
    row->nominalValue = 1;
    row->saleValue = saleValue;
    return row;
}

}  // namespace ProviderParsing
