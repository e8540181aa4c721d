#include "Appirater.h"

#include <atomic>

namespace {
std::atomic<int> launches{0};
std::atomic<int> foregrounds{0};
}  // namespace

void Appirater::appLaunched(bool) {
    ++launches;
}

void Appirater::appEnteredForeground(bool) {
    ++foregrounds;
}

int Appirater::launchCount() {
    return launches;
}

int Appirater::foregroundCount() {
    return foregrounds;
}

void Appirater::reset() {
    launches = 0;
    foregrounds = 0;
}
