#pragma once

#include "CSourceComparison.h"
#include "CViewController.h"
#include "Endpoints.h"

#include <QVariantList>

#include <memory>

class CRootViewModel;

/// The "Compare sources" screen: one currency's rate from every source that quotes it against
/// the base, asked all at once, with the median, the spread and the sources far from the
/// median; sources that fail are listed with their failure.
class CCompareSourcesViewController : public CViewController {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Screen controllers are made in C++")

    Q_PROPERTY(QString code READ code CONSTANT)
    Q_PROPERTY(QString baseCode READ baseCode CONSTANT)
    /// "1 EUR in USD".
    Q_PROPERTY(QString heading READ heading CONSTANT)
    Q_PROPERTY(bool busy READ isBusy NOTIFY comparisonChanged)
    /// While asking: how many sources have answered.
    Q_PROPERTY(QString progressText READ progressText NOTIFY comparisonChanged)
    /// One entry per source: {id, name, valueText, deviationText, failure, outlier, institution}.
    Q_PROPERTY(QVariantList rows READ rows NOTIFY comparisonChanged)
    Q_PROPERTY(QString medianText READ medianText NOTIFY comparisonChanged)
    Q_PROPERTY(QString spreadText READ spreadText NOTIFY comparisonChanged)
    /// Which sources are far from the median, or that none is; empty while asking.
    Q_PROPERTY(QString summaryText READ summaryText NOTIFY comparisonChanged)

public:
    /// `model` (not owned) must outlive the screen. The sources are asked at once.
    CCompareSourcesViewController(const CRootViewModel& model, Endpoints endpoints, QString code,
                                  QString baseCode, bool tablet, QObject* parent = nullptr);
    ~CCompareSourcesViewController() override;

    QString code() const { return code_; }
    QString baseCode() const { return baseCode_; }
    QString heading() const;
    bool isBusy() const { return comparison_->isRunning(); }
    QString progressText() const;
    QVariantList rows() const;
    QString medianText() const;
    QString spreadText() const;
    QString summaryText() const;
    const CurrencyComparison& result() const { return result_; }

    /// Asks every source again.
    Q_INVOKABLE void refresh();
    Q_INVOKABLE void onDoneClick() { dismissSelf(true); }

    /// A percentage as the screen shows it: two decimals, with its sign when `sign`.
    static QString percentText(const Decimal& value, bool sign);

signals:
    void comparisonChanged();
    /// Every source has answered or failed.
    void comparisonFinished();

private:
    std::unique_ptr<CSourceComparison> comparison_;
    QString code_;
    QString baseCode_;
    CurrencyComparison result_;
    int answered_ = 0;
    int asked_ = 0;
};
