#include "ProviderParsing.h"

#include <limits>

namespace ProviderParsing {

qint32 integerFromText(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    qint64 value = 0;
    bool sawDigit = false;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        sawDigit = true;
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > static_cast<qint64>(std::numeric_limits<qint32>::max()) + 1) {
            return 0;
        }
    }
    if (!sawDigit) {
        return 0;
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<qint32>::max() || value < std::numeric_limits<qint32>::min()) {
        return 0;
    }
    return static_cast<qint32>(value);
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
