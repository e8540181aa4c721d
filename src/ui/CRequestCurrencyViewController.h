#pragma once

#include "CViewController.h"

#include <QStringList>
#include <QVariantList>

class CCurrencyDataSourceInfo;
class CRequestCurrencyViewController;

/// Receives the codes the user asks support to add; the receiver closes the screen.
class CRequestCurrencyControllerDelegate {
public:
    virtual ~CRequestCurrencyControllerDelegate() = default;
    virtual void requestCurrencyController(CRequestCurrencyViewController* controller,
                                           const QStringList& codes) = 0;
};

/// The currency request screen: the user collects ISO 4217 codes that no data source offers
/// and submits the list to its delegate, which mails it to support.
class CRequestCurrencyViewController : public CViewController {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Screen controllers are made in C++")

    Q_PROPERTY(QString headerText READ headerText CONSTANT)
    /// One entry per requested code: {code, name}.
    Q_PROPERTY(QVariantList requestedRows READ requestedRows NOTIFY selectedCurrenciesChanged)
    /// The Submit row is shown (at least one code is listed).
    Q_PROPERTY(bool canSubmit READ canSubmit NOTIFY selectedCurrenciesChanged)

public:
    /// `dataSourceInfo` (not owned) tells which sources already offer a code.
    CRequestCurrencyViewController(const CCurrencyDataSourceInfo& dataSourceInfo, bool tablet,
                                   QObject* parent = nullptr);

    CRequestCurrencyControllerDelegate* delegate() const { return delegate_; }
    void setDelegate(CRequestCurrencyControllerDelegate* delegate) { delegate_ = delegate; }

    QString headerText() const;
    const QStringList& selectedCurrencies() const { return selectedCurrencies_; }
    QVariantList requestedRows() const;
    bool canSubmit() const { return !selectedCurrencies_.isEmpty(); }

    /// A code no source offers is accepted; otherwise the user is told why not
    /// ("InvalidCurrencyCode", "CurrencyContainedInDataSource").
    bool checkCanAddCurrencyToRequest(const QString& code);
    /// Return in the entry field: true when the code (in upper case) was listed, and the view
    /// empties the field; false keeps the text.
    Q_INVOKABLE bool enterCode(const QString& text);
    Q_INVOKABLE void deleteCode(int row);
    /// Submit: hands a copy of the list to the delegate.
    Q_INVOKABLE void onDoneClick();
    Q_INVOKABLE void onCancelClick() { dismissSelf(true); }

signals:
    void selectedCurrenciesChanged();

private:
    const CCurrencyDataSourceInfo& dataSourceInfo_;
    CRequestCurrencyControllerDelegate* delegate_ = nullptr;
    QStringList selectedCurrencies_;
};
