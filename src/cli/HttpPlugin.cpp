#include "HttpPlugin.h"

#include "HttpTransport.h"
#include "PluginPath.h"

#include <QFile>

#include <dlfcn.h>

#include <cstring>
#include <mutex>

namespace {

#if defined(__SANITIZE_ADDRESS__)
#define NUMIVA_ADDRESS_SANITIZER
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define NUMIVA_ADDRESS_SANITIZER
#endif
#endif

struct Plugin {
    NumivaHttpStartFunction start = nullptr;
    NumivaHttpWarmUpFunction warmUp = nullptr;
    QString problem;
};

/// The plug-in, loaded once by whichever thread asks first; the others wait for it.
const Plugin& plugin() {
    static std::once_flag once;
    static Plugin loaded;
    std::call_once(once, [] {
        QString searched;
        const QString path = findCliPlugin(QStringLiteral("numiva-cli-http.so"), &searched);
        if (path.isEmpty()) {
            loaded.problem = QStringLiteral(
                                 "the network plug-in numiva-cli-http.so is not installed "
                                 "(looked in %1)")
                                 .arg(searched);
            return;
        }
        // Every symbol now, so that a mismatched plug-in fails here rather than mid-exchange.
        // Its own libraries first: most of Qt Network's many symbols are Qt Core's, which a
        // look-up through the program's libraries would reach late. (The sanitizers' runtime
        // refuses that mode.)
        int mode = RTLD_NOW | RTLD_LOCAL;
#ifndef NUMIVA_ADDRESS_SANITIZER
        mode |= RTLD_DEEPBIND;
#endif
        void* handle = dlopen(QFile::encodeName(path).constData(), mode);
        if (handle != nullptr) {
            loaded.start =
                reinterpret_cast<NumivaHttpStartFunction>(dlsym(handle, "numivaHttpStart"));
            loaded.warmUp =
                reinterpret_cast<NumivaHttpWarmUpFunction>(dlsym(handle, "numivaHttpWarmUp"));
        }
        if (loaded.start == nullptr || loaded.warmUp == nullptr) {
            loaded.start = nullptr;
            loaded.warmUp = nullptr;
            loaded.problem = QStringLiteral("the network plug-in %1 cannot be loaded: %2")
                                 .arg(path, QString::fromLocal8Bit(dlerror()));
        }
    });
    return loaded;
}

/// An exchange that could not start: the plug-in is missing or broken.
class FailedExchange : public HttpTransport::Exchange {
public:
    explicit FailedExchange(QString problem) : problem_(std::move(problem)) {}
    void abort() override {}
    CHttpRequest::Outcome wait() override {
        CHttpRequest::Outcome outcome;
        outcome.error = HttpError{HttpError::Kind::Transport, problem_};
        return outcome;
    }

private:
    QString problem_;
};

}  // namespace

namespace HttpTransport {

std::shared_ptr<Exchange> start(const HttpRequestSettings& settings,
                                std::chrono::milliseconds timeout, qint64 maximumBodySize) {
    const Plugin& loaded = plugin();
    if (loaded.start == nullptr) {
        return std::make_shared<FailedExchange>(loaded.problem);
    }
    std::shared_ptr<Exchange> exchange;
    loaded.start(&settings, timeout.count(), maximumBodySize, &exchange);
    return exchange;
}

void warmUp() {
    if (const Plugin& loaded = plugin(); loaded.warmUp != nullptr) {
        loaded.warmUp();
    }
}

}  // namespace HttpTransport

namespace HttpPlugin {

void load() {
    plugin();
}

bool commandGoesOnline(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--data-dir") == 0 || std::strcmp(a, "--endpoints") == 0) {
            ++i;  // its value
            continue;
        }
        if (a[0] == '-') {
            continue;
        }
        // The first word that is no option names the command.
        for (const char* online : {"rates", "convert", "chart", "compare", "feed"}) {
            if (std::strcmp(a, online) == 0) {
                return true;
            }
        }
        return false;
    }
    return false;
}

}  // namespace HttpPlugin
