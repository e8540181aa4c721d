#include "CDataSourcePickerViewController.h"

#include "CSettingsEditor.h"
#include "Endpoints.h"

CDataSourcePickerViewController::CDataSourcePickerViewController(bool tablet, QObject* parent,
                                                                 const QString& sampleAddress)
    : CViewController(QStringLiteral("DataSourcePickerView"), tablet, parent),
      sampleAddress_(sampleAddress.isEmpty() ? Endpoints::standard().value(Endpoints::SampleFeed)
                                             : sampleAddress) {
    setTitle(localized(QStringLiteral("AddSource")));
}

void CDataSourcePickerViewController::setText(const QString& text) {
    if (text == text_) {
        return;
    }
    text_ = text;
    emit textChanged();
}

QString CDataSourcePickerViewController::headerText() const {
    return localized(QStringLiteral("EnterDataSourceAddress"));
}

QString CDataSourcePickerViewController::footerText() const {
    return localized(QStringLiteral("SampleDataSourceTipN")).arg(sampleAddress_);
}

bool CDataSourcePickerViewController::tryProcessEnteredUrl(const QString& text) {
    const std::optional<QString> url = CSettingsEditor::normalizedFeedUrl(text);
    if (!url) {
        showMessage(localized(QStringLiteral("InvalidUrl")));
        return false;
    }
    if (delegate_ != nullptr) {
        delegate_->dataSourcePicker(this, *url);
    }
    return true;
}

bool CDataSourcePickerViewController::onDone() {
    if (!doneEnabled()) {
        return false;
    }
    return tryProcessEnteredUrl(text_);
}
