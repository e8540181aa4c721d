#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

/// One parser of network (or stored, or typed) bytes, fed the way the application feeds it.
struct FuzzTarget {
    const char* name;
    void (*run)(const std::uint8_t* data, std::size_t size);
};

/// Every target, for the libFuzzer programs (one per entry) and the replay test.
std::span<const FuzzTarget> fuzzTargets();
/// Once per process, before the first run: the application object (unless there is one) and
/// a message handler that drops the log lines bad input causes.
void initializeFuzzTargets();
/// Runs `target` on one input, then what it left for the main loop.
void runFuzzTarget(const FuzzTarget& target, const std::uint8_t* data, std::size_t size);
