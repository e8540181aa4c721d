#pragma once

#include <QFont>
#include <QList>

namespace FontConfiguration {

/// Reads the system's font configuration (fontconfig's FcInit) and sets up the application
/// font (Qt's font list, the family's fallbacks, its engine) and `fonts`, on the calling thread.
/// They are the largest costs of the first texts laid out; the start does them while the QML
/// engine's loader thread reads the window's types, instead of after them. Where the font
/// system is not fontconfig, only the fonts are set up.
void load(const QList<QFont>& fonts);

}  // namespace FontConfiguration
