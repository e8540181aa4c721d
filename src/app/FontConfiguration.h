#pragma once

#include <QFont>
#include <QList>

namespace FontConfiguration {

/// Starts reading the system's font configuration (fontconfig's FcInit) on a second thread. It
/// is the largest single cost of the first text laid out; the start begins it just before
/// making the QML engine, which takes about as long on the main thread.
void startReading();

/// Waits for the font configuration (reading it here if `startReading` was not called), then
/// sets up `fonts` on the calling thread (with the first, Qt's font list and the family's
/// fallbacks), whose texts then find their engines made. The start does this while the QML
/// engine's loader thread reads the window's types. Where the font system is not fontconfig,
/// only the fonts are set up.
void load(const QList<QFont>& fonts);

}  // namespace FontConfiguration
