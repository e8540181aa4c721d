#pragma once

#include "CCurrencyPickerViewController.h"
#include "CViewController.h"

#include <QPointer>
#include <QVariantList>

class CCurrencyChartViewController;
class CRootViewModel;
#include "CSlideDownViewController.h"

/// The chart settings: the charted pair (chosen in the currency picker, two codes) and the
/// period, one of those the selected data source offers. A change is stored at once and makes
/// the chart screen load again; choosing what is already stored changes nothing.
class CChartSettingsViewController : public CViewController, public CCurrencyPickerViewDelegate {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Screen controllers are made in C++")

    Q_PROPERTY(QString pairTitle READ pairTitle CONSTANT)
    /// The pair joined with ", " (USD, EUR).
    Q_PROPERTY(QString pairDetail READ pairDetail NOTIFY rowsChanged)
    /// One {"title", "checked"} per period of the selected source, in its order.
    Q_PROPERTY(QVariantList periodRows READ periodRows NOTIFY rowsChanged)

public:
    CChartSettingsViewController(CRootViewModel& model, bool tablet, QObject* parent = nullptr);

    CCurrencyChartViewController* chartController() const { return chartController_; }
    void setChartController(CCurrencyChartViewController* chart) { chartController_ = chart; }
    CSlideDownViewController* rootController() const { return rootController_; }
    void setRootController(CSlideDownViewController* container) { rootController_ = container; }

    QString pairTitle() const { return localized(QStringLiteral("CurrencyPair")); }
    QString pairDetail() const;
    QVariantList periodRows() const;
    /// The periods listed, in order (none for a source without charts).
    QList<int> periods() const;

    /// Reads everything again (the table is reloaded whenever the screen is about to appear).
    Q_INVOKABLE void viewWillAppear() { emit rowsChanged(); }
    /// The pair row: the picker of the selected source's codes, at most two chosen.
    Q_INVOKABLE void onPairRowSelect();
    Q_INVOKABLE void onPeriodRowSelect(int row);

    void currencyPicker(CCurrencyPickerViewController* picker, const QStringList& codes) override;

signals:
    void rowsChanged();

private:
    void reloadChart();

    CRootViewModel& dataModel_;
    QPointer<CCurrencyChartViewController> chartController_;
    QPointer<CSlideDownViewController> rootController_;
};
