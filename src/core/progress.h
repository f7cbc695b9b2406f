#pragma once
#include <cstdint>
#include <functional>
#include <stdexcept>

namespace kb {

// A long step (a backup, a restore, an export) tells how far it has come, `done` of `total` in units of its own,
// and learns whether to go on: false means the lender cancelled. An empty Progress never cancels.
using Progress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

// Thrown by a long step the lender cancelled, once what it had begun is removed again.
class Cancelled : public std::runtime_error {
public:
    Cancelled() : std::runtime_error("Cancelled") {}
};

// Tells `progress` how far the step has come; throws Cancelled when the lender cancelled.
inline void ReportProgress(const Progress& progress, std::uint64_t done, std::uint64_t total) {
    if (progress && !progress(done, total)) throw Cancelled();
}

}  // namespace kb
