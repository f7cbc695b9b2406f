#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/printing.h"

namespace kb::test {

// Keeps every printed page as its lines, in order; a page counts once it is ended. Each job opened is noted with
// its printer choice.
class RecordingPrinting : public Printing {
public:
    using Page = std::vector<std::string>;

    std::unique_ptr<PrintJob> openJob(const PrinterChoice& choice) override {
        jobs.push_back(choice);
        return std::make_unique<Job>(*this);
    }

    std::vector<Page> pages;
    std::vector<PrinterChoice> jobs;

private:
    class Job : public PrintJob {
    public:
        explicit Job(RecordingPrinting& owner) : owner_(owner) {}
        void line(const std::string& text) override { lines_.push_back(text); }
        void newPage() override { owner_.pages.push_back(std::exchange(lines_, {})); }
        void close() override { newPage(); }

    private:
        RecordingPrinting& owner_;
        Page lines_;
    };
};

}  // namespace kb::test
