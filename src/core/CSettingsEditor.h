#pragma once

#include "Decimal.h"

#include <QString>
#include <QStringList>

#include <optional>

class CRootViewModel;

/// The rules by which the user changes the settings, the same for the settings screen and
/// numiva-cli: the fee is a percentage from 0 to 100 typed with "," or "."; a user-added source
/// is an http or https address registered once; one data source is active, further sources
/// follow it in the user's order, each source at most once; a deleted active source hands over
/// to the next further one, or without one to the first source in display order. Every change
/// goes through the model's setters, which store it and post the change notifications.
class CSettingsEditor {
public:
    enum class AddResult { Added, InvalidUrl, AlreadyExists };

    explicit CSettingsEditor(CRootViewModel& model) : model_(model) {}

    /// Stores the fee read from `text` (`CRootViewModel::getPercentValueFromText`: "," or ".",
    /// 0 to 100); false, with nothing stored, when it is no percentage.
    bool setConversionFeeFromText(const QString& text);
    /// The stored fee as the user edits it ("2.5"); empty when none is stored.
    QString conversionFeeText() const;

    /// Every data source, built-in and user-added, by display name in the collation of
    /// `language` (empty: the language of the texts shown).
    QStringList sortedDataSourceIds(const QString& language = {}) const;
    /// Makes `identifier` the active source, keeping the further ones (without it); false for an
    /// unknown source.
    bool selectDataSource(const QString& identifier);
    /// Sets the whole list in order; false, with nothing stored, when it is empty, names an
    /// unknown source or names one twice.
    bool setDataSources(const QStringList& identifiers);

    /// The sources that can be added as further ones (not in the list yet), in display order.
    QStringList addableFurtherDataSources() const;
    /// Appends a further source; false when it is unknown or in the list already.
    bool addFurtherDataSource(const QString& identifier);
    /// Removes the further source at `index` (0: the first after the active one).
    bool removeFurtherDataSource(int index);
    /// Moves the further source at `from` to `to` (both among the further ones).
    bool moveFurtherDataSource(int from, int to);

    /// The address as it is registered: white space trimmed, characters that may not stand in
    /// an address percent-encoded (existing escapes kept). Nothing unless it is a well-formed
    /// http or https address with a host: a feed under any other scheme could never be read.
    static std::optional<QString> normalizedFeedUrl(const QString& text);
    /// Registers the address typed in `text` and starts reading its feed's name, logo and
    /// currencies; `url` receives the address as registered.
    AddResult addCustomDataSource(const QString& text, QString* url = nullptr);
    /// Only user-added sources can be deleted.
    bool canDeleteDataSource(const QString& identifier) const;
    /// Removes a registered user-added source; false for any other id.
    bool removeCustomDataSource(const QString& identifier);

private:
    CRootViewModel& model_;
};
