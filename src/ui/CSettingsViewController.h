#pragma once

#include "CViewController.h"

class CRootViewModel;

/// The settings screen on the rate list model it shares with the rate list screen. So far it
/// carries only its title; its sections come with the settings screen itself.
class CSettingsViewController : public CViewController {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Screen controllers are made in C++")

public:
    CSettingsViewController(CRootViewModel& model, bool tablet, QObject* parent = nullptr);

    CRootViewModel& dataModel() const { return model_; }

private:
    CRootViewModel& model_;
};
