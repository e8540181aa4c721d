// numiva-cli: drives the same model and settings as the app from a terminal.
#include "CFileOperations.h"
#include "CRootViewModel.h"
#include "CUIHelpers.h"
#include "Localization.h"
#include "NotificationCenter.h"
#include "UserDefaults.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

constexpr int kUsageError = 64;

int usage(const QString& problem) {
    QTextStream(stderr) << "numiva-cli: " << problem << "\n";
    return kUsageError;
}

void printHelp() {
    QTextStream(stdout) << "Usage: numiva-cli [--data-dir DIR] COMMAND [ARGS]\n"
                           "\n"
                           "Commands:\n"
                           "  sources            list the data sources, '*' marks the selected ones\n"
                           "  list               the rate list in order, base currency first\n"
                           "  base CODE          set the base currency\n"
                           "  add CODE...        add currencies to the rate list\n"
                           "  remove CODE...     remove currencies from the rate list\n"
                           "\n"
                           "Options:\n"
                           "  --data-dir DIR     keep settings and stores in DIR (as $NUMIVA_DATA_DIR)\n"
                           "  --help, --version\n";
}

bool isCurrencyCode(const QString& code) {
    if (code.size() != 3) {
        return false;
    }
    for (QChar c : code) {
        if (c < u'A' || c > u'Z') {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Numiva"));
    QCoreApplication::setApplicationVersion(QStringLiteral(NUMIVA_VERSION));
    Localization::install();

    QStringList args = app.arguments().mid(1);
    QStringList positional;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == u"--help" || a == u"-h") {
            printHelp();
            return 0;
        }
        if (a == u"--version") {
            QTextStream(stdout) << "numiva-cli " << NUMIVA_VERSION << "\n";
            return 0;
        }
        if (a == u"--data-dir") {
            if (i + 1 >= args.size() || args[i + 1].isEmpty()) {
                return usage(QStringLiteral("--data-dir needs a directory"));
            }
            CFileOperations::setDataDirectory(args[++i]);
        } else if (a.startsWith(u"--")) {
            return usage(QStringLiteral("unknown option %1").arg(a));
        } else {
            positional.append(a);
        }
    }
    if (positional.isEmpty()) {
        printHelp();
        return kUsageError;
    }
    const QString command = positional.takeFirst();
    const QStringList known{QStringLiteral("sources"), QStringLiteral("list"), QStringLiteral("base"),
                            QStringLiteral("add"), QStringLiteral("remove")};
    if (!known.contains(command)) {
        return usage(QStringLiteral("unknown command %1").arg(command));
    }
    for (const QString& code : positional) {
        if (!isCurrencyCode(code)) {
            return usage(QStringLiteral("not a currency code: %1").arg(code));
        }
    }
    if ((command == u"sources" || command == u"list") && !positional.isEmpty()) {
        return usage(QStringLiteral("%1 takes no arguments").arg(command));
    }
    if (command == u"base" && positional.size() != 1) {
        return usage(QStringLiteral("base takes one currency code"));
    }
    if ((command == u"add" || command == u"remove") && positional.isEmpty()) {
        return usage(QStringLiteral("%1 needs at least one currency code").arg(command));
    }

    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    CUIHelpers::registerDefaultsFromSettingsBundle(defaults);
    CRootViewModel model(defaults, NotificationCenter::defaultCenter());
    QTextStream out(stdout);

    if (command == u"sources") {
        const CCurrencyDataSourceInfo& info = model.currencyDataSourceInfo();
        for (const QString& id : info.getAllDataSourceIds()) {
            out << (model.isDataSourceSelected(id) ? "* " : "  ") << id << "\t"
                << info.getDataSourceDisplayName(id) << "\t" << info.getAvailableCurrencyCodes(id).size()
                << "\n";
        }
    } else if (command == u"base") {
        model.setBaseCurrencyCode(positional.first());
    } else if (command == u"add") {
        for (const QString& code : positional) {
            if (!model.getSelectedCurrencyCodes().contains(code)) {
                model.addCurrencyInfo(code);
            }
        }
        model.saveSelectedCurrencyCodes();
        model.sortCurrencyDataSource();
    } else if (command == u"remove") {
        const QString base = model.getBaseCurrencyCode();
        for (const QString& code : positional) {
            if (code == base) {
                return usage(QStringLiteral("the base currency %1 cannot be removed").arg(code));
            }
        }
        auto& list = model.currencyDataSource();
        list.removeIf([&](const CCBRCurrencyInfoPtr& row) { return positional.contains(row->isoTextCode); });
        model.saveSelectedCurrencyCodes();
    }
    if (command != u"sources") {
        for (const CCBRCurrencyInfoPtr& row : model.currencyDataSource()) {
            out << row->isoTextCode << "\t" << row->displayName << "\n";
        }
    }
    return 0;
}
