#pragma once

#include "CViewController.h"

class CDataSourcePickerViewController;

/// Receives the address of a feed to add; the receiver closes the screen when it accepts it.
class CDataSourcePickerViewControllerDelegate {
public:
    virtual ~CDataSourcePickerViewControllerDelegate() = default;
    virtual void dataSourcePicker(CDataSourcePickerViewController* picker, const QString& url) = 0;
};

/// The add data source screen: asks for the address of a custom rate feed, checks that it is a
/// well-formed http or https address and hands it, trimmed and percent-encoded, to its delegate.
/// One row fills in the address of the sample feed.
class CDataSourcePickerViewController : public CViewController {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Screen controllers are made in C++")

    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    /// Done (bar button and return key) acts only while the field holds text.
    Q_PROPERTY(bool doneEnabled READ doneEnabled NOTIFY textChanged)
    Q_PROPERTY(QString headerText READ headerText CONSTANT)
    /// The tip under the field, naming the sample feed's address.
    Q_PROPERTY(QString footerText READ footerText CONSTANT)
    Q_PROPERTY(QString sampleAddress READ sampleAddress CONSTANT)

public:
    /// `sampleAddress` empty: the configured sample feed.
    explicit CDataSourcePickerViewController(bool tablet, QObject* parent = nullptr,
                                             const QString& sampleAddress = {});

    CDataSourcePickerViewControllerDelegate* delegate() const { return delegate_; }
    void setDelegate(CDataSourcePickerViewControllerDelegate* delegate) { delegate_ = delegate; }

    QString text() const { return text_; }
    void setText(const QString& text);
    bool doneEnabled() const { return !text_.isEmpty(); }
    QString headerText() const;
    QString footerText() const;
    QString sampleAddress() const { return sampleAddress_; }

    /// Checks `text` and hands the address to the delegate; false after "InvalidUrl".
    bool tryProcessEnteredUrl(const QString& text);
    /// The return key or Done: the field's text is submitted.
    Q_INVOKABLE bool onDone();
    Q_INVOKABLE void onCancel() { dismissSelf(true); }
    /// The sample row: its address goes into the field.
    Q_INVOKABLE void onSampleRowSelect() { setText(sampleAddress_); }

signals:
    void textChanged();

private:
    CDataSourcePickerViewControllerDelegate* delegate_ = nullptr;
    QString text_;
    QString sampleAddress_;
};
