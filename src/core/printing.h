#pragma once
#include <memory>
#include <string>

#include "core/dialogs.h"

namespace kb {

// One printed page is one print job of its own: lines of plain fixed-pitch text.
class PageJob {
public:
    virtual ~PageJob() = default;
    virtual void line(const std::string& text) = 0;
    virtual void close() = 0;
};

class Printing {
public:
    virtual ~Printing() = default;
    virtual std::unique_ptr<PageJob> openPage(const PrinterChoice&) = 0;
};

}  // namespace kb
