#pragma once

#include "Decimal.h"

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <string>

/// The sample server's one consistent set of rates: the US-dollar price of one unit of every
/// currency it knows (metals per troy ounce). Every protocol derives its answers from these, so
/// a client that rebases correctly always arrives back at them.
namespace SampleData {

/// Prices on this thread are off by a factor per code (1.03: 3 % dearer) until changed; the
/// server sets them per request, so that one provider can disagree with the others.
void setThreadSkews(const QHash<QString, Decimal>& factors);

/// Every code with its price, in a fixed order.
const QList<QPair<QString, Decimal>>& usdPrices();
/// The price of one unit of `code` in US dollars; NaN for an unknown code.
Decimal usdPrice(const QString& code);
bool knows(const QString& code);
/// Units of `quote` that one unit of `code` buys.
Decimal cross(const QString& code, const QString& quote);
/// Rounds to `digits` fraction digits and writes plainly ("." separator).
QString text(const Decimal& value, int digits);
/// The day the sample answers are for.
QDate today();

/// The ECB's SDMX history document of one currency against the euro (`name` as in its title),
/// prepared on `prepared`, with one observation per day and its value text.
QByteArray ecbHistoryXml(const QString& code, const QString& name, const QDate& prepared,
                         const QList<QPair<QDate, QString>>& observations);

/// The name of a currency in the central bank's Russian documents, for the codes that have one.
QString russianName(const QString& code);

/// The currencies the central bank and the ECB quote, in their documents' order.
const QStringList& cbrCurrencies();
const QStringList& ecbCurrencies();
/// The four metals, in the central bank's order (its metal codes 1 to 4).
const QStringList& metals();
/// The number of units the banks quote a currency per: 10, 100 or more for weak currencies.
int nominalFor(const QString& code);
/// Grams in one troy ounce.
const Decimal& gramsPerOunce();
/// `text` in windows-1251, as the Russian and Ukrainian banks send it.
std::string encode1251(const QString& text);

}  // namespace SampleData
