#include "FontConfiguration.h"

#include <QFontMetricsF>

#include <thread>

#if __has_include(<dlfcn.h>)
#include <dlfcn.h>
#endif

namespace {

void readConfiguration() {
#if __has_include(<dlfcn.h>)
    // Looked up rather than linked: Qt Gui brings fontconfig along where it uses it, so the
    // program needs no headers or link of its own. A second call returns at once.
    using Init = int (*)();
    if (auto init = reinterpret_cast<Init>(dlsym(RTLD_DEFAULT, "FcInit"))) {
        init();
    }
#endif
}

// Joined at the latest when the program ends.
std::jthread reader;

}  // namespace

namespace FontConfiguration {

void startReading() {
    if (!reader.joinable()) {
        reader = std::jthread(readConfiguration);
    }
}

void load(const QList<QFont>& fonts) {
    if (reader.joinable()) {
        reader.join();
    } else {
        readConfiguration();
    }
    // The engines are kept in this thread's font cache, where the texts of the same font find
    // them.
    for (const QFont& font : fonts) {
        QFontMetricsF(font).height();
    }
}

}  // namespace FontConfiguration
