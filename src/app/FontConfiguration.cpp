#include "FontConfiguration.h"

#include <dlfcn.h>

namespace FontConfiguration {

void load() {
    // Looked up rather than linked: Qt Gui brings fontconfig along where it uses it, so the
    // program needs no headers or link of its own. A second call returns at once.
    using Init = int (*)();
    if (auto init = reinterpret_cast<Init>(dlsym(RTLD_DEFAULT, "FcInit"))) {
        init();
    }
}

}  // namespace FontConfiguration
