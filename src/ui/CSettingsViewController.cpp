#include "CSettingsViewController.h"

CSettingsViewController::CSettingsViewController(CRootViewModel& model, bool tablet,
                                                 QObject* parent)
    : CViewController(QStringLiteral("SettingsView"), tablet, parent), model_(model) {
    setTitle(localized(QStringLiteral("Settings")));
}
