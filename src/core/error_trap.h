#pragma once
#include <exception>
#include <string>
#include <utility>

#include "core/dialogs.h"

namespace kb {

// The program's failure reporting. A trap is made with the handler's label; each step it runs that fails leaves
// its description behind and the handler carries on. At the end the last description is shown with the stop icon,
// an OK button and the label as title, and is cleared.
class ErrorTrap {
public:
    ErrorTrap(Dialogs& dialogs, std::string label) : dialogs_(dialogs), label_(std::move(label)) {}
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;
    ~ErrorTrap() { report(); }

    // Runs one step; returns false when it failed.
    template <class Step>
    bool run(Step&& step) {
        try {
            step();
            return true;
        } catch (const std::exception& error) {
            record(error.what());
        } catch (...) {
            record("Unexpected error");
        }
        return false;
    }

    void record(std::string description) {
        description_ = std::move(description);
        failed_ = true;
    }
    bool failed() const { return failed_; }
    const std::string& description() const { return description_; }

    // Forgets the recorded failure without showing it.
    void clear() {
        failed_ = false;
        description_.clear();
    }

    // Shows the recorded failure, if any, and clears it.
    void report() {
        if (!failed_) return;
        failed_ = false;
        dialogs_.message(description_, label_, Buttons::OK, Icon::Critical);
        description_.clear();
    }

private:
    Dialogs& dialogs_;
    std::string label_;
    std::string description_;
    bool failed_ = false;
};

}  // namespace kb
