#include "CliApplication.h"
#include "PdfPlugin.h"

#include "AtomicFile.h"
#include "CChartDataStorageManager.h"
#include "CChartPeriod.h"
#include "CCurrencyChartDataExporter.h"
#include "CCurrencyChartDataSource.h"
#include "CCurrencyChartSettings.h"
#include "CCurrencyDataSource.h"
#include "CCustomDataSourceStorageManager.h"
#include "CFileOperations.h"
#include "CPastRateLookup.h"
#include "CRateListUpdater.h"
#include "CRateRows.h"
#include "CRootViewModel.h"
#include "CSettingsEditor.h"
#include "CSourceComparison.h"
#include "Endpoints.h"
#include "Localization.h"
#include "NotificationCenter.h"
#include "Startup.h"
#include "StorageErrors.h"
#include "UserDefaults.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTimer>

#include <algorithm>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

struct CommandHelp {
    const char* name;
    const char* synopsis;
    const char* summary;
    /// More for `numiva-cli COMMAND --help`; may be empty.
    const char* details;
};

const CommandHelp kCommands[] = {
    {"sources", "sources", "the data sources; '*' marks the active one, '+' the further ones",
     "Prints a header line, then one line per source: the mark, its id, name, the number of\n"
     "currencies it offers and what it needs. The active source comes first, then the further\n"
     "ones in their order, then the others.\n"},
    {"select", "select ID [ID...]", "the active data source, then further ones in order",
     "Each ID as `sources` prints it; letter case does not matter where that is unambiguous.\n"
     "A currency is taken from the first source that offers it; when a source fails, the\n"
     "others' rates are still fresh and its own come from the last refresh.\n"},
    {"base", "base CODE", "set the base currency",
     "CODE must be offered by one of the selected data sources (see `rates`).\n"},
    {"add", "add CODE...", "add currencies to the rate list (last given first)",
     "Each CODE must be offered by a selected data source and not listed yet.\n"},
    {"remove", "remove CODE...", "remove currencies from the rate list",
     "The base currency cannot be removed.\n"},
    {"fee", "fee off | fee PERCENT [--subtract]",
     "the conversion fee (\"2,5\" and \"2.5\" alike, 0 to 100)",
     "--subtract takes the fee off the converted amount instead of adding it.\n"},
    {"metal-unit", "metal-unit Kilo|Ounce|Pound|Gramm", "the weight unit of metal prices", ""},
    {"rates", "rates [--inverse]", "refresh and print the rate list",
     "Prints one line per listed currency: code, name, rate, unit, the rate's date (UTC; the\n"
     "day the provider published it where it says so), \"stale\" or \"fresh\" (\"-\" without a\n"
     "rate; see the README for each source's limit) and the source it came from (\"-\": none).\n"
     "Rates are plain decimals (a point, no digit groups). When the refresh fails, the rates\n"
     "stored by the last one are printed and the exit code is 2. With several sources, one that\n"
     "fails is named on standard error (exit code 2) and the others' fresh rates are printed.\n"},
    {"convert", "convert AMOUNT CODE [--inverse] [--date YYYY-MM-DD]",
     "refresh and convert AMOUNT of CODE into every listed currency",
     "AMOUNT is a plain number with a point or a comma as the decimal separator (\"2,5\");\n"
     "digit groups (\"1,000\") are refused rather than guessed. At most 1e15 and 34 digits.\n"
     "--date converts at the rates of a past day: from the chart history of the selected\n"
     "source (the stored charts first), or Frankfurter's rates of that day for a source\n"
     "without one. Where nothing was published that day, the nearest earlier day is used;\n"
     "the date column says which, and standard error says so. A day in the future or\n"
     "before the history starts is refused (exit code 64).\n"},
    {"chart", "chart [FIRST LAST] [--period N] [--csv FILE] [--html FILE] [--pdf FILE]",
     "a rate history; exports to files ('-': standard output)",
     "The values are FIRST per 1 LAST. --period N: 0 one day, 1 one week, 2 one month,\n"
     "3 three months, 4 six months, 5 one year, 6 two years, 7 three years, 8 five years,\n"
     "9 ten years, 10 overall (what the selected source offers). The pair and period are\n"
     "kept for the next time. --csv - writes only the CSV to standard output.\n"},
    {"compare", "compare [CODE...] [--base CODE] [--threshold PERCENT]",
     "ask every source for the same rates at once and compare them",
     "Asks every built-in source that quotes a currency and the base (all at the same time) and\n"
     "prints per currency each source's rate in the base currency, its distance from the median,\n"
     "the median and the spread ((highest - lowest) / median). A source more than the threshold\n"
     "(default 2 %) from the median is flagged with '!'. A source that fails is listed with its\n"
     "failure. Where Frankfurter answers, the institutions it blends follow it, each with its own\n"
     "rate. Without codes, the listed currencies are compared; --base defaults to the base\n"
     "currency and is not stored. Exit code 2 when no source answered.\n"},
    {"feed", "feed add URL | feed remove URL | feed refresh",
     "user-added data sources (custom rate feeds)",
     "add registers an http or https address and reads it once; refresh reads every feed.\n"
     "A feed that cannot be read is named on standard error and the exit code is 2.\n"},
};

QString usageText() {
    QString text = QStringLiteral(
        "Usage: numiva-cli [--data-dir DIR] [--endpoints FILE] [--json] COMMAND [ARGS]\n"
        "\nCommands:\n");
    for (const CommandHelp& command : kCommands) {
        const QString synopsis = QString::fromLatin1(command.synopsis);
        text += QStringLiteral("  ") + synopsis;
        text += synopsis.size() < 29 ? QString(29 - synopsis.size(), u' ')
                                     : QStringLiteral("\n") + QString(31, u' ');
        text += QString::fromUtf8(command.summary) + u'\n';
    }
    return text + QStringLiteral(
                      "\n"
                      "Options:\n"
                      "  --data-dir DIR               keep settings and stores in DIR (as "
                      "$NUMIVA_DATA_DIR)\n"
                      "  --endpoints FILE             service hosts from FILE (as "
                      "$NUMIVA_ENDPOINTS)\n"
                      "  --json                       machine-readable output\n"
                      "  --help, --version            (COMMAND --help: that command's help)\n"
                      "\n"
                      "Exit codes: 0 done, 2 a provider failed (cached rates are printed), 64 "
                      "bad usage.\n");
}

const CommandHelp* findCommand(const QString& name) {
    for (const CommandHelp& command : kCommands) {
        if (name == QLatin1String(command.name)) {
            return &command;
        }
    }
    return nullptr;
}

/// Codes are taken in any letter case: "usd" can only mean USD.
QString codeFrom(const QString& text) {
    return text.trimmed().toUpper();
}

/// Edits (insertions, deletions, substitutions) between `a` and `b`, ignoring letter case.
qsizetype editDistance(const QString& a, const QString& b) {
    const QString x = a.toUpper();
    const QString y = b.toUpper();
    QList<qsizetype> row(y.size() + 1);
    for (qsizetype j = 0; j <= y.size(); ++j) {
        row[j] = j;
    }
    for (qsizetype i = 1; i <= x.size(); ++i) {
        qsizetype diagonal = row[0];
        row[0] = i;
        for (qsizetype j = 1; j <= y.size(); ++j) {
            const qsizetype above = row[j];
            row[j] =
                std::min({row[j] + 1, row[j - 1] + 1, diagonal + (x[i - 1] == y[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[y.size()];
}

/// " (did you mean X?)" for the one candidate nearest to `given` when it is near enough.
QString didYouMean(const QString& given, const QStringList& candidates) {
    QString best;
    qsizetype bestDistance = std::max<qsizetype>(1, given.size() / 3) + 1;
    for (const QString& candidate : candidates) {
        const qsizetype d = editDistance(given, candidate);
        if (d < bestDistance) {
            best = candidate;
            bestDistance = d;
        }
    }
    return best.isEmpty() ? QString() : QStringLiteral(" (did you mean %1?)").arg(best);
}

}  // namespace

CliApplication::CliApplication(QStringList arguments)
    : arguments_(std::move(arguments)), out_(stdout), err_(stderr) {}

CliApplication::~CliApplication() = default;

namespace {

// Plain checks rather than regular expressions: compiling one takes longer than a command's
// whole parsing, and its per-thread state waits for the network plug-in still loading.
bool allDigits(QStringView text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

/// "YYYY-MM-DD" in digits, whether or not it is a real day.
bool isDayText(QStringView text) {
    return text.size() == 10 && text[4] == u'-' && text[7] == u'-' && allDigits(text.first(4)) &&
           allDigits(text.sliced(5, 2)) && allDigits(text.sliced(8, 2));
}

/// Digits grouped by commas in threes: "1,000", "12,345,678".
bool isCommaGrouped(QStringView text) {
    const QList<QStringView> groups = text.split(u',');
    if (groups.size() < 2 || groups.first().size() > 3 || !allDigits(groups.first())) {
        return false;
    }
    return std::all_of(groups.begin() + 1, groups.end(),
                       [](QStringView group) { return group.size() == 3 && allDigits(group); });
}

/// How many digits `text` has after its leading zeros.
qsizetype significantDigits(QStringView text) {
    qsizetype count = 0;
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9' && (count > 0 || c != u'0')) {
            ++count;
        }
    }
    return count;
}

/// Runs the main loop while `busy` holds, for at most `limitMs` milliseconds.
void waitWhile(const std::function<bool()>& busy, qint64 limitMs) {
    QElapsedTimer clock;
    clock.start();
    // processEvents with a time limit never blocks: it would spin a core the workers need.
    // Blocking waits are woken at least every 100 ms to look at the clock.
    QTimer wake;
    wake.start(100);
    while (busy() && clock.elapsed() < limitMs) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

}  // namespace

int CliApplication::usage(const QString& problem) {
    err_ << "numiva-cli: " << problem << Qt::endl;
    return UsageError;
}

bool CliApplication::takeFlag(const QString& flag) {
    return commandArguments_.removeAll(flag) > 0;
}

bool CliApplication::takeOption(const QString& name, QString* value, bool* present) {
    const qsizetype i = commandArguments_.indexOf(name);
    *present = i >= 0;
    if (i < 0) {
        return true;
    }
    // A value is never another option ("-" alone is standard output).
    if (i + 1 >= commandArguments_.size() || commandArguments_[i + 1].isEmpty() ||
        commandArguments_[i + 1].startsWith(u"--")) {
        return false;
    }
    *value = commandArguments_[i + 1];
    commandArguments_.remove(i, 2);
    return true;
}

int CliApplication::parseGlobalOptions() {
    QStringList rest;
    for (qsizetype i = 0; i < arguments_.size(); ++i) {
        const QString& a = arguments_[i];
        if ((a == u"--help" || a == u"-h") && rest.isEmpty()) {
            out_ << usageText();
            return Ok;
        }
        if (a == u"--version") {
            out_ << "numiva-cli " << QCoreApplication::applicationVersion() << Qt::endl;
            return Ok;
        }
        if (a == u"--json") {
            json_ = true;
        } else if (a == u"--data-dir" || a == u"--endpoints") {
            if (i + 1 >= arguments_.size() || arguments_[i + 1].isEmpty()) {
                return usage(QStringLiteral("%1 needs a value").arg(a));
            }
            const QString value = arguments_[++i];
            if (a == u"--data-dir") {
                CFileOperations::setDataDirectory(value);
            } else {
                QString error;
                if (!Endpoints::setStandardOverrideFile(value, &error)) {
                    return usage(QStringLiteral("--endpoints %1: %2").arg(value, error));
                }
            }
        } else {
            rest.append(a);
        }
    }
    if (rest.isEmpty()) {
        err_ << usageText();
        return UsageError;
    }
    command_ = rest.takeFirst();
    commandArguments_ = rest;
    if (commandArguments_.contains(QStringLiteral("--help")) ||
        commandArguments_.contains(QStringLiteral("-h"))) {
        const CommandHelp* help = findCommand(command_);
        if (help == nullptr) {
            return usage(QStringLiteral("unknown command %1 (see --help)").arg(command_));
        }
        out_ << "Usage: numiva-cli [options] " << help->synopsis << "\n\n"
             << QString::fromUtf8(help->summary) << ".\n";
        if (*help->details != '\0') {
            out_ << '\n' << QString::fromUtf8(help->details);
        }
        return Ok;
    }
    return -1;  // go on
}

CRootViewModel& CliApplication::model() {
    if (!model_) {
        // The process-wide instances are reached here, at the top, and handed down.
        UserDefaults& defaults = UserDefaults::standardUserDefaults();
        Startup::registerDefaultsFromSettingsBundle(defaults);
        CRootViewModel::Options options;
        options.customSources = &CCustomDataSourceStorageManager::sharedInstance();
        options.endpoints = Endpoints::standard();
        model_ = std::make_unique<CRootViewModel>(defaults, NotificationCenter::defaultCenter(),
                                                  options);
    }
    return *model_;
}

void CliApplication::printJson(const QJsonValue& value) {
    const QJsonDocument doc =
        value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    out_ << doc.toJson(QJsonDocument::Indented);
}

int CliApplication::run() {
    if (const int early = parseGlobalOptions(); early >= 0) {
        return early;
    }
    Localization::install();

    // Options that belong to one command only are checked by it; anything else that looks like
    // an option is unknown.
    static const QStringList commandOptions{
        QStringLiteral("--inverse"), QStringLiteral("--subtract"), QStringLiteral("--period"),
        QStringLiteral("--csv"),     QStringLiteral("--html"),     QStringLiteral("--pdf"),
        QStringLiteral("--date"),    QStringLiteral("--base"),     QStringLiteral("--threshold")};
    for (const QString& a : commandArguments_) {
        if (a.startsWith(u"--") && !commandOptions.contains(a)) {
            return usage(QStringLiteral("unknown option %1").arg(a));
        }
    }
    // Checked once, before any command saves: a folder that cannot take files is said once.
    if (const QString problem = CFileOperations::dataDirectoryProblem(); !problem.isEmpty()) {
        StorageErrors::report(StorageErrors::Kind::Failure, problem);
    }

    if (command_ == u"sources") {
        return sources();
    }
    if (command_ == u"select") {
        return select();
    }
    if (command_ == u"base") {
        return base();
    }
    if (command_ == u"add") {
        return add();
    }
    if (command_ == u"remove") {
        return remove();
    }
    if (command_ == u"fee") {
        return fee();
    }
    if (command_ == u"metal-unit") {
        return metalUnit();
    }
    if (command_ == u"feed") {
        return feed();
    }
    if (command_ == u"rates") {
        return rates(false);
    }
    if (command_ == u"convert") {
        return rates(true);
    }
    if (command_ == u"chart") {
        return chart();
    }
    if (command_ == u"compare") {
        return compare();
    }
    QStringList names;
    for (const CommandHelp& command : kCommands) {
        names.append(QString::fromLatin1(command.name));
    }
    return usage(QStringLiteral("unknown command %1%2 (see --help)")
                     .arg(command_, didYouMean(command_, names)));
}

int CliApplication::sources() {
    if (!commandArguments_.isEmpty()) {
        return usage(QStringLiteral("sources takes no arguments"));
    }
    const CCurrencyDataSourceInfo& info = model().currencyDataSourceInfo();
    const std::optional<QString> selected = model().getSelectedDataSource();
    const QStringList order = model().getAllSelectedDataSources();
    // The selected sources lead, in the order they are asked.
    QStringList ids;
    const QStringList all = info.getAllDataSourceIds();
    for (const QString& id : order) {
        if (all.contains(id)) {
            ids.append(id);
        }
    }
    for (const QString& id : all) {
        if (!ids.contains(id)) {
            ids.append(id);
        }
    }
    QJsonArray list;
    if (!json_) {
        out_ << "  id\tname\tcurrencies\tdescription" << Qt::endl;
    }
    for (const QString& id : ids) {
        const QString name = info.getDataSourceDisplayName(id);
        const int count = static_cast<int>(info.getAvailableCurrencyCodes(id).size());
        // What the source needs (an account or nothing) and what it offers.
        const QString description = info.getDataSourceDescription(id);
        if (json_) {
            list.append(QJsonObject{
                {QStringLiteral("id"), id},
                {QStringLiteral("name"), name},
                {QStringLiteral("currencies"), count},
                {QStringLiteral("description"), description},
                {QStringLiteral("selected"), selected == id},
                {QStringLiteral("order"), order.contains(id) ? QJsonValue(order.indexOf(id) + 1)
                                                             : QJsonValue(QJsonValue::Null)},
                {QStringLiteral("custom"), info.isCustomDataSource(id)}});
        } else {
            out_ << (selected == id       ? "* "
                     : order.contains(id) ? "+ "
                                          : "  ")
                 << id << '\t' << name << '\t' << count << '\t' << description << Qt::endl;
        }
    }
    if (json_) {
        printJson(list);
    }
    return Ok;
}

int CliApplication::select() {
    if (commandArguments_.isEmpty()) {
        return usage(
            QStringLiteral("select takes data source ids, the active one first (see "
                           "sources)"));
    }
    const QStringList ids = model().currencyDataSourceInfo().getAllDataSourceIds();
    QStringList chosen;
    for (QString id : commandArguments_) {
        // Letter case does not matter where only one id matches ("ecb").
        QStringList matches;
        for (const QString& candidate : ids) {
            if (candidate.compare(id, Qt::CaseInsensitive) == 0) {
                matches.append(candidate);
            }
        }
        if (matches.size() == 1) {
            id = matches.first();
        }
        if (!ids.contains(id)) {
            return usage(QStringLiteral("unknown data source %1%2 (see sources)")
                             .arg(id, didYouMean(id, ids)));
        }
        if (chosen.contains(id)) {
            return usage(QStringLiteral("%1 is given twice").arg(id));
        }
        chosen.append(id);
    }
    CSettingsEditor(model()).setDataSources(chosen);
    if (!model().isCurrencyCodeAvailable(model().getBaseCurrencyCode())) {
        err_ << "numiva-cli: note: " << chosen.join(u", ") << (chosen.size() > 1 ? " do" : " does")
             << " not offer the base currency " << model().getBaseCurrencyCode() << Qt::endl;
    }
    return Ok;
}

int CliApplication::base() {
    if (commandArguments_.size() != 1) {
        return usage(QStringLiteral("base takes one currency code"));
    }
    const QString code = codeFrom(commandArguments_.first());
    if (!CCurrencyDataSource::isIsoCode(code)) {
        return usage(QStringLiteral("not a currency code: %1 (three letters, e.g. EUR)")
                         .arg(commandArguments_.first()));
    }
    // A base the source does not quote would leave every rate without a value.
    if (!model().isCurrencyCodeAvailable(code)) {
        const QStringList selected = model().getAllSelectedDataSources();
        return usage(QStringLiteral("%1 is not offered by the selected data source%2 %3%4")
                         .arg(code, selected.size() > 1 ? QStringLiteral("s") : QString(),
                              selected.isEmpty() ? QStringLiteral("-") : selected.join(u", "),
                              didYouMean(code, model().getAvailableCurrencyCodes())));
    }
    model().setBaseCurrencyCode(code);
    return Ok;
}

int CliApplication::add() {
    if (commandArguments_.isEmpty()) {
        return usage(QStringLiteral("add needs at least one currency code"));
    }
    // The picker offers the available codes that are not listed yet, each once.
    const QStringList offered = model().getAvailableNotSelectedCurrencyCodes();
    for (QString& argument : commandArguments_) {
        argument = codeFrom(argument);
    }
    for (qsizetype i = 0; i < commandArguments_.size(); ++i) {
        const QString& code = commandArguments_[i];
        if (!CCurrencyDataSource::isIsoCode(code)) {
            return usage(
                QStringLiteral("not a currency code: %1%2").arg(code, didYouMean(code, offered)));
        }
        if (commandArguments_.indexOf(code) != i) {
            return usage(QStringLiteral("%1 is given twice").arg(code));
        }
        if (model().getSelectedCurrencyCodes().contains(code)) {
            return usage(QStringLiteral("%1 is in the list already").arg(code));
        }
        if (!offered.contains(code)) {
            return usage(QStringLiteral("%1 is not offered by the selected data source%2")
                             .arg(code, didYouMean(code, offered)));
        }
    }
    for (const QString& code : commandArguments_) {
        model().addCurrencyInfo(code);
    }
    model().saveSelectedCurrencyCodes();
    return Ok;
}

int CliApplication::remove() {
    if (commandArguments_.isEmpty()) {
        return usage(QStringLiteral("remove needs at least one currency code"));
    }
    const QString baseCode = model().getBaseCurrencyCode();
    for (QString& argument : commandArguments_) {
        argument = codeFrom(argument);
    }
    for (const QString& code : commandArguments_) {
        if (!CCurrencyDataSource::isIsoCode(code)) {
            return usage(QStringLiteral("not a currency code: %1").arg(code));
        }
        if (code == baseCode) {
            return usage(QStringLiteral("%1 is the base currency and cannot be removed").arg(code));
        }
        if (!model().getSelectedCurrencyCodes().contains(code)) {
            return usage(QStringLiteral("%1 is not in the list").arg(code));
        }
    }
    model().currencyDataSource().removeIf([&](const CCBRCurrencyInfoPtr& row) {
        return commandArguments_.contains(row->isoTextCode);
    });
    model().saveSelectedCurrencyCodes();
    return Ok;
}

int CliApplication::fee() {
    const bool subtract = takeFlag(QStringLiteral("--subtract"));
    if (commandArguments_.size() != 1) {
        return usage(QStringLiteral("fee takes off or a percentage"));
    }
    const QString value = commandArguments_.first();
    if (value == u"off") {
        if (subtract) {
            return usage(QStringLiteral("fee off takes no --subtract"));
        }
        model().setConversionFeeEnabled(false);
        return Ok;
    }
    if (!CSettingsEditor(model()).setConversionFeeFromText(value)) {
        return usage(QStringLiteral("not a percentage from 0 to 100: %1").arg(value));
    }
    model().setConversionFeeEnabled(true);
    model().setSubtractFeeEnabled(subtract);
    return Ok;
}

int CliApplication::metalUnit() {
    const QStringList units = CRootViewModel::metalBaseUnits();
    if (commandArguments_.size() != 1 || !units.contains(commandArguments_.first())) {
        return usage(QStringLiteral("metal-unit takes one of %1").arg(units.join(u'|')));
    }
    model().setMetalBaseUnit(commandArguments_.first());
    return Ok;
}

int CliApplication::feed() {
    const QString action = commandArguments_.value(0);
    CCustomDataSourceStorageManager& registry = model().customDataSourceStorage();
    if ((action == u"add" || action == u"remove") && commandArguments_.size() == 2) {
        const QString url = commandArguments_[1];
        // The settings screen's rules: http or https only, each address once; a removed
        // selected source hands the selection to the first source.
        CSettingsEditor editor(model());
        if (action == u"add") {
            QString registered;
            switch (editor.addCustomDataSource(url, &registered)) {
                case CSettingsEditor::AddResult::InvalidUrl:
                    return usage(QStringLiteral("not an http or https address: %1").arg(url));
                case CSettingsEditor::AddResult::AlreadyExists:
                    return usage(QStringLiteral("%1 is registered already").arg(registered));
                case CSettingsEditor::AddResult::Added:
                    break;
            }
        } else {
            if (!registry.getDataSourceWithUrl(url)) {
                return usage(QStringLiteral("%1 is not registered").arg(url));
            }
            editor.removeCustomDataSource(url);
            return Ok;
        }
    } else if (action == u"refresh" && commandArguments_.size() == 1) {
        model().customDataSourceInfoUpdater().queryMetadataUpdate();
    } else {
        return usage(QStringLiteral("feed takes add URL, remove URL or refresh"));
    }
    // Wait for every registered feed to be read once (adding one starts that, as on the
    // settings screen).
    CCustomDataSourceMetadataUpdater& updater = model().customDataSourceInfoUpdater();
    waitWhile([&] { return updater.pendingQueryCount() > 0; }, 60000);
    const bool timedOut = updater.pendingQueryCount() > 0;
    QJsonArray list;
    for (const CCustomDataSourceEntity& entry : registry.getAllDataSources()) {
        const QStringList codes = entry.currenciesList.value_or(QStringList());
        if (json_) {
            list.append(QJsonObject{
                {QStringLiteral("url"), entry.url},
                {QStringLiteral("name"),
                 entry.displayName ? QJsonValue(*entry.displayName) : QJsonValue(QJsonValue::Null)},
                {QStringLiteral("currencies"), QJsonArray::fromStringList(codes)},
                {QStringLiteral("logo"), entry.logoImagePath ? QJsonValue(*entry.logoImagePath)
                                                             : QJsonValue(QJsonValue::Null)}});
        } else {
            out_ << entry.url << '\t' << entry.displayName.value_or(QStringLiteral("-")) << '\t'
                 << codes.join(u' ') << Qt::endl;
        }
    }
    if (json_) {
        printJson(list);
    }
    if (timedOut) {
        err_ << "numiva-cli: some feeds did not answer within 60 s" << Qt::endl;
        return ProviderFailed;
    }
    // An added feed stays registered, as on the settings screen, but its user hears that it
    // could not be read.
    for (const auto& [url, failure] : updater.failures()) {
        if (action == u"add" && url != commandArguments_[1]) {
            continue;
        }
        err_ << "numiva-cli: " << url
             << (action == u"add" ? " is registered, but its first refresh failed: "
                                  : " could not be read: ")
             << QString(failure).replace(u'\n', u' ') << Qt::endl;
    }
    const bool failed = action == u"add" ? updater.failures().count(commandArguments_[1]) > 0
                                         : !updater.failures().empty();
    return failed ? ProviderFailed : Ok;
}

int CliApplication::rates(bool convert) {
    const bool inverse = takeFlag(QStringLiteral("--inverse"));
    Decimal amount;
    QString convertedCode;
    QString dateText;
    bool hasDate = false;
    if (convert && !takeOption(QStringLiteral("--date"), &dateText, &hasDate)) {
        return usage(QStringLiteral("--date needs a day (YYYY-MM-DD)"));
    }
    const QDate day = QDate::fromString(dateText, Qt::ISODate);
    if (hasDate && (!isDayText(dateText) || !day.isValid())) {
        return usage(QStringLiteral("--date takes a day as YYYY-MM-DD: %1").arg(dateText));
    }
    if (convert) {
        if (commandArguments_.size() != 2) {
            return usage(QStringLiteral("convert takes an amount and a currency code"));
        }
        const QString amountText = commandArguments_[0].trimmed();
        // "1,000" may be a thousand with a digit group or one with three decimals: refused,
        // never guessed.
        if (isCommaGrouped(amountText)) {
            return usage(QStringLiteral("%1 is ambiguous: write %2 for the whole number, or use "
                                        "a point for decimals")
                             .arg(amountText, QString(amountText).remove(u',')));
        }
        auto parsed = Decimal::parse(amountText, u'.');
        if (!parsed) {
            parsed = Decimal::parse(amountText, u',');
        }
        if (!parsed || parsed->isNegative()) {
            return usage(QStringLiteral("not an amount: %1").arg(amountText));
        }
        // Beyond what anyone converts, and beyond what the rates keep exactly.
        const qsizetype digits = significantDigits(amountText);
        if (*parsed > Decimal::fromString(QStringLiteral("1000000000000000")) || digits > 34) {
            return usage(QStringLiteral("%1 is too large an amount (at most 1e15 and 34 digits)")
                             .arg(amountText));
        }
        amount = *parsed;
        convertedCode = codeFrom(commandArguments_[1]);
    } else if (!commandArguments_.isEmpty()) {
        return usage(QStringLiteral("rates takes no arguments besides --inverse"));
    }

    // The stored rates, then one refresh, exactly as the rate list shows them; the stored list,
    // its order and the display direction stay as they are.
    CRootViewModel& m = model();
    if (convert && (!CCurrencyDataSource::isIsoCode(convertedCode) ||
                    !m.getSelectedCurrencyCodes().contains(convertedCode))) {
        return usage(QStringLiteral("%1 is not in the rate list").arg(convertedCode));
    }
    std::optional<QString> failure;
    bool finished = false;
    CRateListUpdater updater(m, Endpoints::standard());
    updater.setFinished([&](const std::optional<QString>& text) {
        failure = text;
        finished = true;
    });
    // At a past day the rates of that day are looked up instead of today's refresh.
    std::optional<CChartDataStorageManager> chartCache;
    std::optional<CPastRateLookup> pastRates;
    bool badDate = false;
    if (hasDate) {
        m.synchronizeDataSourceWithInfo(CCBRCurrenciesInfo());
        chartCache.emplace();
        pastRates.emplace(m, &*chartCache, Endpoints::standard());
        pastRates->lookup(m.getSelectedCurrencyCodes(), day,
                          [&](const CPastRateLookup::Outcome& outcome) {
                              m.conversionDate = day;
                              m.conversionRates = outcome.rates;
                              failure = outcome.failure;
                              badDate = outcome.badDate;
                              finished = true;
                          });
    } else {
        updater.queryCurrencyRates();
        // While the refresh is under way: the stored rates, and the writer for the new ones. The
        // refresh answers through the event loop, so always after this.
        m.currencyDataStorageManager().prepareWriter();
        m.synchronizeDataSourceWithInfo(CCBRCurrenciesInfo());
        // The rows' names and numbers read their locale data now, not after the answer.
        if (!m.currencyDataSource().isEmpty()) {
            CRateRows(m, std::nullopt, false).row(*m.currencyDataSource().constFirst());
            CRateRows::getFormattedCurrencyRate(amount, true);
        }
    }
    waitWhile([&] { return !finished; }, 180000);
    if (!finished) {
        failure = QStringLiteral("The data sources did not answer in time.");
    }
    if (badDate) {
        return usage(*failure);
    }
    if (chartCache) {
        chartCache->waitForPendingWrites();
    } else {
        m.currencyDataStorageManager().waitForPendingWrites();
    }

    const QString baseCode = m.getBaseCurrencyCode();
    const CRateRows rateRows =
        convert ? CRateRows(m, CRateRows::Conversion{convertedCode, amount, inverse})
                : CRateRows(m, std::nullopt, inverse || m.isDisplayInverseRatesEnabled());
    // While converting, the converted currency comes first, as in the app's conversion mode.
    QList<CCBRCurrencyInfoPtr> list = m.currencyDataSource();
    if (convert) {
        std::stable_partition(list.begin(), list.end(), [&](const CCBRCurrencyInfoPtr& row) {
            return row->isoTextCode == convertedCode;
        });
    }
    QJsonArray rows;
    QSet<QDate> earlierDays;
    for (qsizetype i = 0; i < list.size(); ++i) {
        const CCBRCurrencyInfo& element = *list[i];
        const CRateRow row = rateRows.row(element);
        QString text = row.rateText.isEmpty()
                           ? Localization::localizedString(QStringLiteral("NoData"))
                           : CRateRows::getFormattedCurrencyRate(row.value, true);
        QString unit = row.codeText;
        Decimal value = row.value;
        bool available = row.available;
        if (i == 0) {
            value = convert ? amount : m.getSaleValueForCurrency(element.isoTextCode, baseCode);
            // The first row names the base currency, or the amount being converted.
            text = convert ? CRateRows::getFormattedCurrencyRate(amount, true)
                           : Localization::localizedString(QStringLiteral("BaseCurrency"));
            unit = convert ? convertedCode : QString();
            available = available || element.isoTextCode == u"USD";
        }
        const QString date = hasDate ? row.date.date().toString(Qt::ISODate)
                                     : element.actualDate.toUTC().toString(Qt::ISODate);
        if (hasDate && row.date.isValid() && row.date.date() != day) {
            earlierDays.insert(row.date.date());
        }
        const bool rated = !row.value.isNaN() && !hasDate;  // a past day is not judged
        if (json_) {
            rows.append(QJsonObject{
                {QStringLiteral("code"), element.isoTextCode},
                {QStringLiteral("name"), row.name},
                {QStringLiteral("available"), available},
                {QStringLiteral("value"), value.toString()},
                {QStringLiteral("text"), text},
                {QStringLiteral("unit"), unit},
                {QStringLiteral("date"), date},
                {QStringLiteral("stale"), row.stale},
                {QStringLiteral("source"),
                 row.source.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(row.source)},
                {QStringLiteral("cached"), row.cached},
                {QStringLiteral("sourceFailed"), row.sourceFailed}});
        } else {
            // New columns go last, so that scripts reading the first five keep working.
            const QString freshness = !rated      ? QStringLiteral("-")
                                      : row.stale ? QStringLiteral("stale")
                                                  : QStringLiteral("fresh");
            const QString source = row.source.isEmpty() ? QStringLiteral("-") : row.source;
            out_ << element.isoTextCode << '\t' << row.name << '\t' << text << '\t' << unit << '\t'
                 << date << '\t' << freshness << '\t' << source << Qt::endl;
        }
    }
    if (json_) {
        const auto source = m.getSelectedDataSource();
        printJson(QJsonObject{
            {QStringLiteral("source"), source ? QJsonValue(*source) : QJsonValue(QJsonValue::Null)},
            {QStringLiteral("base"), baseCode},
            {QStringLiteral("conversion"),
             convert ? QJsonValue(QJsonObject{
                           {QStringLiteral("code"), convertedCode},
                           {QStringLiteral("amount"), amount.toString()},
                           {QStringLiteral("date"), hasDate ? QJsonValue(day.toString(Qt::ISODate))
                                                            : QJsonValue(QJsonValue::Null)}})
                     : QJsonValue(QJsonValue::Null)},
            {QStringLiteral("error"),
             failure ? QJsonValue(*failure) : QJsonValue(QJsonValue::Null)},
            {QStringLiteral("rows"), rows}});
    }
    if (!earlierDays.isEmpty()) {
        QList<QDate> days(earlierDays.cbegin(), earlierDays.cend());
        std::sort(days.begin(), days.end());
        QStringList texts;
        for (const QDate& used : days) {
            texts.append(used.toString(Qt::ISODate));
        }
        err_ << "numiva-cli: "
             << Localization::localizedString(QStringLiteral("ConversionDateEarlier"))
                    .arg(day.toString(Qt::ISODate), texts.join(QStringLiteral(", ")))
             << Qt::endl;
    }
    if (failure) {
        err_ << "numiva-cli: " << *failure << Qt::endl;
        return ProviderFailed;
    }
    return Ok;
}

namespace {

/// Waits on the main loop for one chart query.
class ChartWaiter : public CCurrencyChartDataSourceDelegate {
public:
    std::optional<CCurrencyChartInfo> result;
    std::optional<QString> failure;
    bool done = false;

    void queryCurrencyChartDataSourceCompletedWithResult(const CCurrencyChartInfo& r) override {
        result = r;
        done = true;
    }
    void queryCurrencyChartDataSourceFailedWithErrorDescription(
        const QString& description) override {
        failure = description;
        done = true;
    }
};

QJsonValue pointJson(const std::optional<CCurrencyChartPoint>& point) {
    if (!point) {
        return QJsonValue(QJsonValue::Null);
    }
    return QJsonObject{{QStringLiteral("date"), point->date.toUTC().toString(Qt::ISODate)},
                       {QStringLiteral("value"), point->value.toString()}};
}

/// Writes `text` to FILE, or to standard output for "-".
bool writeText(const QString& path, const QByteArray& text, QTextStream& out, QString* error) {
    if (path == u"-") {
        out << QString::fromUtf8(text);  // exactly the export: nothing after its last line
        out.flush();
        return out.status() == QTextStream::Ok;
    }
    return AtomicFile::write(path, text, error);
}

}  // namespace

int CliApplication::chart() {
    QString periodText;
    QString csvPath;
    QString htmlPath;
    QString pdfPath;
    bool hasPeriod = false;
    bool hasCsv = false;
    bool hasHtml = false;
    bool hasPdf = false;
    if (!takeOption(QStringLiteral("--period"), &periodText, &hasPeriod) ||
        !takeOption(QStringLiteral("--csv"), &csvPath, &hasCsv) ||
        !takeOption(QStringLiteral("--html"), &htmlPath, &hasHtml) ||
        !takeOption(QStringLiteral("--pdf"), &pdfPath, &hasPdf)) {
        return usage(QStringLiteral("--period, --csv, --html and --pdf need a value"));
    }
    bool periodOk = true;
    const int period = hasPeriod ? periodText.toInt(&periodOk) : 0;
    if (hasPeriod && (!periodOk || period < 0 || period > 10)) {
        return usage(QStringLiteral("--period takes a number from 0 (one day) to 10 (overall): %1")
                         .arg(periodText));
    }
    if (hasPdf && pdfPath == u"-") {
        return usage(QStringLiteral("--pdf needs a file"));
    }
    if (json_ && ((hasCsv && csvPath == u"-") || (hasHtml && htmlPath == u"-"))) {
        return usage(QStringLiteral("--json and an export to standard output cannot go together"));
    }
    if (hasCsv && hasHtml && csvPath == u"-" && htmlPath == u"-") {
        return usage(QStringLiteral("only one export can go to standard output"));
    }
    if (!commandArguments_.isEmpty() && commandArguments_.size() != 2) {
        return usage(QStringLiteral("chart takes no codes or two currency codes"));
    }
    for (QString& code : commandArguments_) {
        code = codeFrom(code);
        if (!CCurrencyDataSource::isIsoCode(code)) {
            return usage(QStringLiteral("not a currency code: %1").arg(code));
        }
    }
    CRootViewModel& m = model();
    const std::optional<QString> source = m.getSelectedDataSource();
    if (!source || !CCurrencyChartDataSource::isDataSourceSupported(*source)) {
        return usage(
            QStringLiteral(
                "the selected data source %1 has no charts (charts come from YFinance, Bloomberg, "
                "ECB and CBR)")
                .arg(source.value_or(QStringLiteral("-"))));
    }

    // As the chart settings screen does: the pair and period are stored, then charted.
    UserDefaults& defaults = m.userDefaults();
    if (!commandArguments_.isEmpty()) {
        CCurrencyChartSettings::setCurrencyPair(commandArguments_, defaults);
    }
    if (hasPeriod) {
        CCurrencyChartSettings::setChartPeriod(period, defaults);
    }

    CChartDataStorageManager cache;
    CCurrencyChartDataSource dataSource(m, &cache, Endpoints::standard());
    std::optional<CCurrencyChartInfo> record = dataSource.getCachedChartInfo();
    ChartWaiter waiter;
    dataSource.setDelegate(&waiter);
    dataSource.queryCharts();
    waitWhile([&] { return !waiter.done; }, 120000);
    if (!waiter.done) {
        waiter.failure = QStringLiteral("The chart service did not answer in time.");
    }
    // A record with points replaces the cached one; an empty answer means there is no data.
    if (waiter.result && waiter.result->hasData()) {
        record = waiter.result;
    } else if (waiter.result && !waiter.failure) {
        waiter.failure = Localization::localizedString(QStringLiteral("NoChartData"));
    }

    const QStringList pair =
        CCurrencyChartSettings::getCurrencyPair(defaults).value_or(QStringList());
    const int chartedPeriod = CCurrencyChartSettings::getChartPeriod(defaults);
    std::optional<CCurrencyChartPoint> latest;
    std::optional<CCurrencyChartPoint> highest;
    std::optional<CCurrencyChartPoint> lowest;
    QJsonArray points;
    if (record && record->hasData()) {
        latest = record->plotPoints.last();
        for (const CCurrencyChartPoint& point : record->plotPoints) {
            if (!highest && point.value == record->maxCurrencyValue) {
                highest = point;
            }
            if (!lowest && point.value == record->minCurrencyValue) {
                lowest = point;
            }
            points.append(pointJson(point));
        }
    }

    if (json_) {
        printJson(
            QJsonObject{{QStringLiteral("source"), *source},
                        {QStringLiteral("period"), chartedPeriod},
                        {QStringLiteral("pair"), QJsonArray::fromStringList(pair)},
                        {QStringLiteral("points"), points},
                        {QStringLiteral("latest"), pointJson(latest)},
                        {QStringLiteral("highest"), pointJson(highest)},
                        {QStringLiteral("lowest"), pointJson(lowest)},
                        {QStringLiteral("error"), waiter.failure ? QJsonValue(*waiter.failure)
                                                                 : QJsonValue(QJsonValue::Null)}});
    } else if ((!hasCsv || csvPath != u"-") && (!hasHtml || htmlPath != u"-")) {
        // Which way the values go: units of the first currency for one of the last.
        out_ << pair.value(0) << " per 1 " << pair.value(1) << ", "
             << ChartPeriodNames::displayName(chartedPeriod).value_or(QString()) << ", " << *source
             << Qt::endl;
        for (const auto& [label, point] :
             {std::pair{"latest", latest}, {"highest", highest}, {"lowest", lowest}}) {
            if (point) {
                out_ << label << '\t' << point->date.toUTC().toString(Qt::ISODate) << '\t'
                     << point->value.toString() << Qt::endl;
            }
        }
    }

    if (record && record->hasData()) {
        // Exports show local wall-clock times, as the chart screen hands them over.
        CCurrencyChartInfo local = *record;
        for (CCurrencyChartPoint& point : local.plotPoints) {
            point.date = CCurrencyChartInfo::toLocalTime(point.date);
        }
        local.minDate = CCurrencyChartInfo::toLocalTime(local.minDate);
        local.maxDate = CCurrencyChartInfo::toLocalTime(local.maxDate);
        CCurrencyChartDataExporter exporter(local, &defaults);
        QString error;
        if (hasCsv && !writeText(csvPath, exporter.exportToCsv().toUtf8(), out_, &error)) {
            err_ << "numiva-cli: cannot write " << csvPath << ": " << error << Qt::endl;
            return ProviderFailed;
        }
        if (hasHtml && !writeText(htmlPath, exporter.exportToHtml().toUtf8(), out_, &error)) {
            err_ << "numiva-cli: cannot write " << htmlPath << ": " << error << Qt::endl;
            return ProviderFailed;
        }
        if (hasPdf) {
            QString error;
            if (!PdfPlugin::printToPdf(local, pdfPath, &error)) {
                err_ << "numiva-cli: cannot print to " << pdfPath << ": " << error << Qt::endl;
                return ProviderFailed;
            }
        }
    }
    if (waiter.failure) {
        err_ << "numiva-cli: " << *waiter.failure << Qt::endl;
        return ProviderFailed;
    }
    return Ok;
}

namespace {

/// A rate with eight significant digits: enough to tell sources apart, short enough to read.
QString significant(const Decimal& value) {
    if (value.isNaN()) {
        return QString();
    }
    const double magnitude = std::floor(std::log10(std::abs(value.toDouble())));
    const int digits = std::isfinite(magnitude) ? std::max(0, 7 - static_cast<int>(magnitude)) : 8;
    return value.rounded(digits).toString();
}

/// A percentage with two decimals and its sign ("+0.45", "-3.00").
QString percent(const Decimal& value, bool sign) {
    if (value.isNaN()) {
        return QString();
    }
    const Decimal rounded = value.rounded(2);
    const QString text = rounded.isZero() ? QStringLiteral("0") : rounded.toString();
    const qsizetype point = text.indexOf(u'.');
    const QString padded = point < 0                  ? text + QStringLiteral(".00")
                           : text.size() - point == 2 ? text + u'0'
                                                      : text;
    return sign && !value.isNegative() && !rounded.isZero() ? u'+' + padded : padded;
}

}  // namespace

int CliApplication::compare() {
    QString baseText;
    QString thresholdText;
    bool hasBase = false;
    bool hasThreshold = false;
    if (!takeOption(QStringLiteral("--base"), &baseText, &hasBase) ||
        !takeOption(QStringLiteral("--threshold"), &thresholdText, &hasThreshold)) {
        return usage(QStringLiteral("--base and --threshold need a value"));
    }
    Decimal threshold = CSourceComparison::defaultThresholdPercent();
    if (hasThreshold) {
        auto parsed = Decimal::parse(thresholdText.trimmed(), u'.');
        if (!parsed) {
            parsed = Decimal::parse(thresholdText.trimmed(), u',');
        }
        if (!parsed || parsed->isNegative() || *parsed > Decimal::fromInt(100)) {
            return usage(QStringLiteral("--threshold takes a percentage from 0 to 100: %1")
                             .arg(thresholdText));
        }
        threshold = *parsed;
    }
    CRootViewModel& m = model();
    CSourceComparison comparison(m, Endpoints::standard());
    comparison.setThresholdPercent(threshold);
    QStringList quoted;
    for (const QString& id : CSourceComparison::builtInSources()) {
        for (const QString& code : m.currencyDataSourceInfo().getAvailableCurrencyCodes(id)) {
            if (!quoted.contains(code)) {
                quoted.append(code);
            }
        }
    }
    const QString base = hasBase ? codeFrom(baseText) : m.getBaseCurrencyCode();
    if (!quoted.contains(base)) {
        return usage(QStringLiteral("no data source quotes the base %1%2")
                         .arg(base, didYouMean(base, quoted)));
    }
    QStringList codes;
    for (const QString& argument : commandArguments_) {
        const QString code = codeFrom(argument);
        if (!CCurrencyDataSource::isIsoCode(code)) {
            return usage(QStringLiteral("not a currency code: %1%2")
                             .arg(argument, didYouMean(code, quoted)));
        }
        if (code == base) {
            return usage(QStringLiteral("%1 is the base currency (see --base)").arg(code));
        }
        if (codes.contains(code)) {
            return usage(QStringLiteral("%1 is given twice").arg(code));
        }
        if (comparison.sourcesFor(code, base).isEmpty()) {
            return usage(QStringLiteral("no data source quotes %1 in %2%3")
                             .arg(code, base, didYouMean(code, quoted)));
        }
        codes.append(code);
    }
    if (commandArguments_.isEmpty()) {
        // The listed currencies that some source quotes against the base.
        for (const QString& code : m.getSelectedCurrencyCodes()) {
            if (code != base && !comparison.sourcesFor(code, base).isEmpty()) {
                codes.append(code);
            }
        }
        if (codes.isEmpty()) {
            return usage(QStringLiteral("no listed currency to compare (give codes)"));
        }
    }

    QList<CurrencyComparison> result;
    bool finished = false;
    comparison.setFinished([&](const QList<CurrencyComparison>& r) {
        result = r;
        finished = true;
    });
    comparison.compare(codes, base);
    waitWhile([&] { return !finished; }, 180000);
    if (!finished) {
        comparison.cancel();
        err_ << "numiva-cli: The data sources did not answer in time." << Qt::endl;
        return ProviderFailed;
    }

    bool anyValue = false;
    QJsonArray list;
    for (const CurrencyComparison& currency : result) {
        anyValue = anyValue || currency.hasValues();
        QJsonArray sources;
        if (!json_) {
            out_ << currency.code << " in " << base << Qt::endl;
        }
        for (const SourceRate& rate : currency.rates) {
            QJsonObject source{{QStringLiteral("id"), rate.id},
                               {QStringLiteral("name"), rate.name}};
            if (rate.value.isNaN()) {
                source.insert(QStringLiteral("error"), rate.failure);
            } else {
                source.insert(QStringLiteral("value"), significant(rate.value));
                source.insert(QStringLiteral("deviation"), percent(rate.deviation, false));
                source.insert(QStringLiteral("outlier"), rate.outlier);
            }
            sources.append(source);
            if (!json_) {
                out_ << (rate.outlier ? "! " : "  ") << rate.id << '\t' << rate.name << '\t';
                if (rate.value.isNaN()) {
                    out_ << "failed: " << rate.failure << Qt::endl;
                } else {
                    out_ << significant(rate.value) << '\t' << percent(rate.deviation, true) << " %"
                         << Qt::endl;
                }
            }
        }
        const QStringList outliers = currency.outlierIds();
        if (json_) {
            list.append(QJsonObject{
                {QStringLiteral("code"), currency.code},
                {QStringLiteral("base"), base},
                {QStringLiteral("sources"), sources},
                {QStringLiteral("median"), currency.hasValues()
                                               ? QJsonValue(significant(currency.median))
                                               : QJsonValue(QJsonValue::Null)},
                {QStringLiteral("spread"), currency.hasValues()
                                               ? QJsonValue(percent(currency.spread, false))
                                               : QJsonValue(QJsonValue::Null)},
                {QStringLiteral("threshold"), threshold.toString()},
                {QStringLiteral("outliers"), QJsonArray::fromStringList(outliers)}});
        } else if (currency.hasValues()) {
            out_ << "  median\t" << significant(currency.median) << "\n  spread\t"
                 << percent(currency.spread, false) << " %\n  outliers\t"
                 << (outliers.isEmpty() ? QStringLiteral("none")
                                        : outliers.join(QStringLiteral(", ")))
                 << " (more than " << threshold.toString() << " % from the median)\n"
                 << Qt::endl;
        } else {
            out_ << "  no source answered\n" << Qt::endl;
        }
    }
    if (json_) {
        printJson(list);
    }
    if (!anyValue) {
        err_ << "numiva-cli: no data source answered" << Qt::endl;
        return ProviderFailed;
    }
    return Ok;
}
