#pragma once

#include "CHttpRequest.h"

#include <chrono>
#include <memory>

/// What carries `CHttpRequest`'s exchanges: Qt Network, on a thread of its own
/// (src/network). The touch application, the tests and the benchmarks link it; numiva-cli
/// loads it as a plug-in for the commands that go online, so that the others start without
/// the network libraries.
namespace HttpTransport {

/// One exchange under way.
class Exchange {
public:
    virtual ~Exchange() = default;
    /// Ends the exchange at once; callable from any thread, any number of times.
    virtual void abort() = 0;
    /// Blocks until the exchange has ended, then gives its outcome (once).
    virtual CHttpRequest::Outcome wait() = 0;
};

/// Starts one exchange of `settings`, whose address has been checked.
std::shared_ptr<Exchange> start(const HttpRequestSettings& settings,
                                std::chrono::milliseconds timeout, qint64 maximumBodySize);
/// Starts the network thread and its manager ahead of the first exchange; the application
/// object must exist.
void warmUp();

}  // namespace HttpTransport

// The plug-in's entry points: `HttpTransport::start` and `warmUp` by names that `dlsym` finds.
extern "C" void numivaHttpStart(const HttpRequestSettings* settings, qint64 timeoutMilliseconds,
                                qint64 maximumBodySize,
                                std::shared_ptr<HttpTransport::Exchange>* exchange);
extern "C" void numivaHttpWarmUp();
using NumivaHttpStartFunction = decltype(&numivaHttpStart);
using NumivaHttpWarmUpFunction = decltype(&numivaHttpWarmUp);
