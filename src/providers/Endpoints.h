#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

/// The service hosts and accounts that web clients use: the bundled "endpoints.ini", of which
/// an override file (`$NUMIVA_ENDPOINTS`, or the command line's `--endpoints`) replaces any
/// value it names. Providers append their fixed paths to these base addresses.
class Endpoints {
public:
    // Base addresses.
    static inline const QString Cbr = QStringLiteral("cbr");
    static inline const QString CbrNamespace = QStringLiteral("cbrNamespace");
    static inline const QString CbrScripts = QStringLiteral("cbrScripts");
    static inline const QString Ecb = QStringLiteral("ecb");
    static inline const QString BankUa = QStringLiteral("bankUa");
    static inline const QString YahooQuotes = QStringLiteral("yahooQuotes");
    static inline const QString YahooChart = QStringLiteral("yahooChart");
    static inline const QString PayPal = QStringLiteral("payPal");
    static inline const QString Bloomberg = QStringLiteral("bloomberg");
    static inline const QString BloombergChart = QStringLiteral("bloombergChart");
    static inline const QString Ocbc = QStringLiteral("ocbc");
    static inline const QString GeoNames = QStringLiteral("geoNames");
    static inline const QString Frankfurter = QStringLiteral("frankfurter");
    /// Optional: the institutions Frankfurter may blend ("ECB,BOC"); empty: all of them.
    static inline const QString FrankfurterProviders = QStringLiteral("frankfurterProviders");
    static inline const QString CurrencyApi = QStringLiteral("currencyApi");
    static inline const QString CurrencyApiFallback = QStringLiteral("currencyApiFallback");
    /// The full address of the sample custom feed offered when adding a source.
    static inline const QString SampleFeed = QStringLiteral("sampleFeed");
    // Accounts.
    static inline const QString PayPalUserId = QStringLiteral("payPalUserId");
    static inline const QString PayPalPassword = QStringLiteral("payPalPassword");
    static inline const QString PayPalSignature = QStringLiteral("payPalSignature");
    static inline const QString PayPalApplicationId = QStringLiteral("payPalApplicationId");
    static inline const QString GeoNamesUserName = QStringLiteral("geoNamesUserName");

    /// An empty set (every value empty); see `defaults`.
    Endpoints() = default;

    /// The bundled values only.
    static Endpoints defaults();
    /// The process-wide set: the bundled values overridden by the file that
    /// `setStandardOverrideFile` named, else by `$NUMIVA_ENDPOINTS`. An unreadable file is
    /// reported in the log and leaves the bundled values in place.
    static Endpoints standard();
    /// Makes `path` the override file of the process-wide set (empty: back to the environment).
    /// False, with a reason in `error`, when the file cannot be read or parsed; the set is then
    /// left as it was.
    static bool setStandardOverrideFile(const QString& path, QString* error = nullptr);
    /// Replaces the process-wide set (tests; empty: back to file and environment).
    static void setStandard(std::optional<Endpoints> endpoints);

    /// Parses "key = value" lines; ";" and "#" start comment lines and "[section]" headers are
    /// ignored. Nothing, with a reason in `error`, for a malformed line.
    static std::optional<QMap<QString, QString>> parse(const QByteArray& text,
                                                       QString* error = nullptr);
    /// Overrides every value the file names. False, with a reason, when it cannot be read or
    /// parsed; nothing is changed then.
    bool mergeFile(const QString& path, QString* error = nullptr);

    /// The value of `key`; empty when unset.
    QString value(const QString& key) const { return values_.value(key); }
    void setValue(const QString& key, const QString& value) { values_.insert(key, value); }
    QMap<QString, QString> values() const { return values_; }

    /// The base address of `key` followed by `path` (one slash between them) and, when given,
    /// "?" and `query` as written.
    QUrl url(const QString& key, const QString& path = {}, const QString& query = {}) const;

private:
    QMap<QString, QString> values_;
};
