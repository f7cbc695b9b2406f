#pragma once
#include <memory>
#include <string>
#include <vector>

#include "core/printing.h"

namespace kb::test {

// Keeps every printed page as its lines, in order; a page counts once it is closed.
class RecordingPrinting : public Printing {
public:
    using Page = std::vector<std::string>;

    std::unique_ptr<PageJob> openPage(const PrinterChoice& choice) override {
        choices.push_back(choice);
        return std::make_unique<Job>(*this);
    }

    std::vector<Page> pages;
    std::vector<PrinterChoice> choices;

private:
    class Job : public PageJob {
    public:
        explicit Job(RecordingPrinting& owner) : owner_(owner) {}
        void line(const std::string& text) override { lines_.push_back(text); }
        void close() override { owner_.pages.push_back(std::move(lines_)); }

    private:
        RecordingPrinting& owner_;
        Page lines_;
    };
};

}  // namespace kb::test
