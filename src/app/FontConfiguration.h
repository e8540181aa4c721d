#pragma once

namespace FontConfiguration {

/// Reads the system's font configuration now (fontconfig's FcInit), on the calling thread.
/// It is the largest single cost of the first text laid out; the start reads it while the QML
/// engine's loader thread reads the window's types, instead of after them. Where the font
/// system is not fontconfig, it does nothing.
void load();

}  // namespace FontConfiguration
