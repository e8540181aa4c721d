#pragma once

#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <memory>

class CRootViewModel;

/// numiva-cli's commands: each parses its arguments, changes the stored settings exactly as the
/// matching screen action does, and prints the result (text, or JSON with --json).
class CliApplication {
public:
    /// Exit codes.
    static constexpr int Ok = 0;
    static constexpr int ProviderFailed = 2;
    static constexpr int UsageError = 64;

    explicit CliApplication(QStringList arguments);
    ~CliApplication();

    int run();

private:
    int usage(const QString& problem);
    int parseGlobalOptions();
    CRootViewModel& model();

    int sources();
    int select();
    int base();
    int add();
    int remove();
    int fee();
    int metalUnit();
    int feed();
    int rates(bool convert);
    int chart();
    int compare();

    void printJson(const QJsonValue& value);
    /// Takes a flag such as "--inverse" out of the command's arguments.
    bool takeFlag(const QString& flag);
    /// Takes "--name VALUE"; false (and a usage error) when the value is missing.
    bool takeOption(const QString& name, QString* value, bool* present);

    QStringList arguments_;
    QString command_;
    QStringList commandArguments_;
    bool json_ = false;
    QTextStream out_;
    QTextStream err_;
    std::unique_ptr<CRootViewModel> model_;
};
