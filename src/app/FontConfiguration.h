#pragma once

namespace FontConfiguration {

/// Reads the system's font configuration (fontconfig's FcInit) and sets up the application
/// font (Qt's font list, the family's fallbacks, its engine), on the calling thread. They are
/// the largest costs of the first text laid out; the start does them while the QML engine's
/// loader thread reads the window's types, instead of after them. Where the font system is not
/// fontconfig, only the application font is set up.
void load();

}  // namespace FontConfiguration
