#include "help/help_target.h"

#include <cctype>
#include <string_view>

#include "core/config.h"

namespace kb {

namespace {

constexpr std::size_t kCodeLength = 6;  // "S03E03"

bool IsSectionCode(std::string_view code) {
    auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    return code.size() == kCodeLength && code[0] == 'S' && digit(code[1]) && digit(code[2]) && code[3] == 'E' &&
           digit(code[4]) && digit(code[5]);
}

}  // namespace

std::string HelpTargetFor(const char* sectionCode) {
    return sectionCode ? std::string(kHelpPath) + sectionCode : std::string(kAboutTarget);
}

HelpRequest ReadHelpTarget(const std::string& helpTarget) {
    HelpRequest request;
    if (helpTarget == kAboutTarget) return request;
    const std::size_t slash = helpTarget.size() > kCodeLength ? helpTarget.size() - kCodeLength - 1 : std::string::npos;
    if (slash != std::string::npos && helpTarget[slash] == '/' &&
        IsSectionCode(std::string_view(helpTarget).substr(slash + 1))) {
        const std::string code = helpTarget.substr(slash + 1);
        request.kind = HelpRequest::Kind::Section;
        request.file = helpTarget.substr(0, slash);
        request.startMarker = "^" + code.substr(0, 3);
        request.endMarker = "^" + code.substr(3);
        return request;
    }
    request.kind = HelpRequest::Kind::WholeFile;
    request.file = helpTarget;
    return request;
}

}  // namespace kb
