#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

/// numiva-cli's network: Qt Network and what it brings (Kerberos, proxy lookup, compression)
/// take a few milliseconds to load and relocate, which the commands that stay offline should not
/// pay. They come with the plug-in "numiva-cli-http.so" (found as the PDF plug-in is), loaded at
/// the first exchange, or ahead by a `HttpPlugin::Preloader`.
namespace HttpPlugin {

/// Loads the plug-in on a thread of its own while the command reads its settings and stores,
/// then starts the network thread once the application object exists. Destroy it before the
/// application object.
class Preloader {
public:
    Preloader();
    ~Preloader();
    Preloader(const Preloader&) = delete;
    Preloader& operator=(const Preloader&) = delete;

    /// The application object exists: the network thread may start.
    void applicationReady();

private:
    void finish(bool ready);

    std::mutex mutex_;
    std::condition_variable changed_;
    bool decided_ = false;
    bool ready_ = false;
    std::thread thread_;
};

/// Whether the command named in `argv` goes online (a refresh, a chart, a comparison, a feed).
bool commandGoesOnline(int argc, char** argv);

}  // namespace HttpPlugin
