#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kb {

// One line of a printed report, built from items written one after the other with nothing between them.
// Columns count from 1. Placing an item at column n pads the line with blanks to n - 1 characters; when the line
// already holds n characters or more, the line is ended and the item starts at column n of a new line. So one built
// line prints as one text line, or as several when an item had to move down.
class PrintLine {
public:
    // An empty line: no characters at all.
    PrintLine() = default;

    // The item placed at `column` (1 for the first column).
    PrintLine& at(int column, std::string_view item);
    // The item written directly after the previous one.
    PrintLine& add(std::string_view item);

    // The text lines it prints as, first to last; never empty.
    const std::vector<std::string>& lines() const { return lines_; }

private:
    std::vector<std::string> lines_{std::string()};
};

// Characters of a UTF-8 text (not bytes): columns and rules are counted in them.
std::size_t CharCount(std::string_view text);

// `count` characters of a UTF-8 text from the character at `start` (0 for the first); fewer at the end of the text.
std::string CharSlice(std::string_view text, std::size_t start, std::size_t count = std::string_view::npos);

}  // namespace kb
