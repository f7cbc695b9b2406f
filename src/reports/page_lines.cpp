#include "reports/page_lines.h"

namespace kb {

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The byte offset of the character at `index`, or the text's size when it has fewer characters.
std::size_t ByteOffset(std::string_view text, std::size_t index) {
    std::size_t offset = 0;
    for (std::size_t seen = 0; offset < text.size(); ++offset) {
        if (IsContinuationByte(text[offset])) continue;
        if (seen++ == index) return offset;
    }
    return text.size();
}

}  // namespace

std::size_t CharCount(std::string_view text) {
    std::size_t count = 0;
    for (char c : text)
        if (!IsContinuationByte(c)) ++count;
    return count;
}

std::string CharSlice(std::string_view text, std::size_t start, std::size_t count) {
    const std::size_t from = ByteOffset(text, start);
    const std::string_view rest = text.substr(from);
    return std::string(rest.substr(0, count == std::string_view::npos ? rest.size() : ByteOffset(rest, count)));
}

PrintLine& PrintLine::at(int column, std::string_view item) {
    const std::size_t target = column > 1 ? static_cast<std::size_t>(column - 1) : 0;
    const std::size_t held = CharCount(lines_.back());
    if (held > target) {
        lines_.emplace_back(target, ' ');
    } else {
        lines_.back().append(target - held, ' ');
    }
    lines_.back() += item;
    return *this;
}

PrintLine& PrintLine::add(std::string_view item) {
    lines_.back() += item;
    return *this;
}

}  // namespace kb
