#pragma once

#include "Decimal.h"

#include <QDateTime>
#include <QString>

#include <optional>

class CCBRCurrencyInfo;
class CRootViewModel;

/// What one row of the rate list shows; the rate list screen and numiva-cli read the same rows.
struct CRateRow {
    QString code;
    /// The display name, starting with a capital.
    QString name;
    /// The rate against the base currency, or the converted amount; NaN without one.
    Decimal value = Decimal::nan();
    /// `value` formatted for the list; empty without a value.
    QString rateText;
    /// The code `value` is quoted in; empty without a value.
    QString codeText;
    /// A cross rate is as old as the older of its two rates; invalid without one.
    QDateTime date;
    /// The code is offered by the selected sources.
    bool available = false;
    /// The identifier of the source the rate came from; empty for the dollar and without a
    /// rate.
    QString source;
    /// The rate is a cached one (not from this refresh's answers).
    bool cached = false;
    /// Cached because its source failed in the last refresh.
    bool sourceFailed = false;
    /// What the row says of where its rate comes from: "from ECB" for a source other than the
    /// active one, "cached, ECB failed" after a failure; empty for the active source's rates.
    QString sourceNote;
    /// The rate, or the one it is crossed with, is older than its source publishes anew.
    bool stale = false;
};

/// Reads the model's list as rows: rates against the base currency in the stored direction (or
/// its inverse), or, while converting, the amount of every currency worth the converted amount.
class CRateRows {
public:
    /// A converted amount: `amount` of `code`. `inverse` shows how much of `code` one unit of
    /// each row's currency is worth.
    struct Conversion {
        QString code;
        Decimal amount;
        bool inverse = false;
    };

    /// `model` (not owned) must outlive the rows. Without a conversion, `inverse` flips the stored
    /// direction of the rates.
    CRateRows(const CRootViewModel& model, std::optional<Conversion> conversion,
              bool inverse = false);
    /// The model's conversion mode and stored direction.
    static CRateRows forModel(const CRootViewModel& model, bool inverseConversion);
    /// The moment staleness is judged at; the system clock's by default.
    void setNow(const QDateTime& now) { now_ = now; }

    /// The row of the list element at `index` (0: the base currency's row, or while converting
    /// the converted currency's).
    CRateRow row(qsizetype index) const;
    CRateRow row(const CCBRCurrencyInfo& element) const;

    /// The rate as the list shows it: blanks between thousands, up to 5 fraction digits, or 7
    /// when 5 would show a plain "0". `plain`: for scripts, without grouping and with a point.
    static QString getFormattedCurrencyRate(const Decimal& rate, bool plain = false);
    static QString capitalizedName(const QString& name);
    /// The date of a row's own rate; invalid for the dollar row and a row without a rate.
    static QDateTime ownRateDate(const CCBRCurrencyInfo* row);
    /// The row's own rate is older than its source's schedule allows at `now`.
    static bool isOwnRateStale(const CCBRCurrencyInfo* row, const QDateTime& now);

private:
    Decimal valueFor(const QString& code) const;

    const CRootViewModel& model_;
    std::optional<Conversion> conversion_;
    bool inverse_;
    QDateTime now_ = QDateTime::currentDateTimeUtc();
};
