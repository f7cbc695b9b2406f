#include "core/config.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace kb {

namespace {

// Longer than any line the setup screen writes; a longer file is not ours.
constexpr std::size_t kMaxFileLength = 2048;

struct Field {
    enum class Kind { Text, Boolean } kind = Kind::Text;
    std::string text;
    bool value = false;
};

class FieldReader {
public:
    explicit FieldReader(std::string_view text) : text_(text) {}

    bool atEnd() {
        skipLineEnds();
        return pos_ >= text_.size();
    }

    Field next() {
        skipBlanks();
        Field field;
        if (peek() == '"') {
            field.text = quoted('"', "a text in double quotes is not closed");
        } else if (peek() == '#') {
            std::string word = quoted('#', "a value between hash signs is not closed");
            if (word != "TRUE" && word != "FALSE") throw ConfigError("#" + word + "# is neither #TRUE# nor #FALSE#");
            field.kind = Field::Kind::Boolean;
            field.value = word == "TRUE";
        } else {
            field.text = bare();
        }
        endOfField();
        return field;
    }

private:
    char peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    void skipBlanks() {
        while (peek() == ' ' || peek() == '\t') ++pos_;
    }
    void skipLineEnds() {
        while (peek() == '\r' || peek() == '\n' || peek() == ' ' || peek() == '\t') ++pos_;
    }
    std::string quoted(char mark, const char* unclosed) {
        std::size_t close = text_.find(mark, pos_ + 1);
        std::size_t lineEnd = text_.find_first_of("\r\n", pos_ + 1);
        if (close == std::string_view::npos || close > lineEnd) throw ConfigError(unclosed);
        std::string inside(text_.substr(pos_ + 1, close - pos_ - 1));
        pos_ = close + 1;
        return inside;
    }
    std::string bare() {
        std::size_t end = text_.find_first_of(",\r\n", pos_);
        if (end == std::string_view::npos) end = text_.size();
        std::string word(text_.substr(pos_, end - pos_));
        pos_ = end;
        while (!word.empty() && (word.back() == ' ' || word.back() == '\t')) word.pop_back();
        return word;
    }
    // A field ends at a comma or a line end; anything else after a closing quote is not ours.
    void endOfField() {
        skipBlanks();
        if (peek() == ',') {
            ++pos_;
        } else if (peek() == '\r' || peek() == '\n' || peek() == '\0') {
            skipLineEnds();
        } else {
            throw ConfigError("a field is followed by text that is not a comma");
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

void CheckIsText(std::string_view text) {
    if (text.size() > kMaxFileLength) throw ConfigError("the file is too long to be a settings line");
    for (unsigned char c : text) {
        if (c < 32 && c != '\r' && c != '\n' && c != '\t') throw ConfigError("the file holds characters that are not text");
    }
}

std::string TextField(const Field& field, int number) {
    if (field.kind != Field::Kind::Text) throw ConfigError("field " + std::to_string(number) + " is not a text");
    return field.text;
}

void CheckCanCarry(std::string_view text, const char* name) {
    for (unsigned char c : text) {
        if (c == '"') throw ConfigError(std::string("the ") + name + " holds a double quote, which the file cannot carry");
        if (c < 32 && c != '\t')
            throw ConfigError(std::string("the ") + name + " holds a line end or another control character");
    }
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string SystemError(const char* what) { return std::string(what) + " (" + std::strerror(errno) + ")"; }

// The rename would replace a file marked read-only whoever runs the program (the superuser may write anything), so
// the file's own mark is what counts: no write permission for anyone.
void CheckNotReadOnly(const std::string& path) {
    using std::filesystem::perms;
    std::error_code unknown;
    const std::filesystem::file_status status = std::filesystem::status(path, unknown);
    if (!std::filesystem::exists(status)) return;
    if ((status.permissions() & (perms::owner_write | perms::group_write | perms::others_write)) == perms::none)
        throw ConfigError("the settings file is read-only");
}

}  // namespace

Config ParseConfig(std::string_view text) {
    CheckIsText(text);
    FieldReader reader(text);
    Config config;
    if (reader.atEnd()) throw ConfigError("it holds fewer than two fields");
    config.DealerNm = TextField(reader.next(), 1);
    if (reader.atEnd()) throw ConfigError("it holds fewer than two fields");
    Field password = reader.next();
    if (password.kind != Field::Kind::Boolean) throw ConfigError("field 2 is neither #TRUE# nor #FALSE#");
    config.PassWrd = password.value;
    if (!reader.atEnd()) config.TYMsg1 = TextField(reader.next(), 3);
    if (!reader.atEnd()) config.TYMsg2 = TextField(reader.next(), 4);
    return config;
}

Config ReadConfigFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw ConfigError("the file cannot be opened");
    std::string text;
    text.resize(kMaxFileLength + 1);
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(file.gcount()));
    return ParseConfig(text);
}

std::string FormatConfig(const Config& config) {
    std::string name = config.DealerNm;
    name.erase(name.find_last_not_of(' ') + 1);
    CheckCanCarry(name, "business name");
    CheckCanCarry(config.TYMsg1, "first thank-you line");
    CheckCanCarry(config.TYMsg2, "second thank-you line");
    std::string line = Quoted(name) + "," + (config.PassWrd ? "#TRUE#" : "#FALSE#") + "," + Quoted(config.TYMsg1) +
                       "," + Quoted(config.TYMsg2) + "\r\n";
    if (line.size() > kMaxFileLength) throw ConfigError("the settings are too long to be read back");
    return line;
}

void WriteConfigFile(const std::string& path, const Config& config) {
    const std::string line = FormatConfig(config);
    CheckNotReadOnly(path);
    const std::string newPath = path + ".new";
    std::FILE* file = std::fopen(newPath.c_str(), "wb");
    if (!file) throw ConfigError(SystemError("the new file cannot be created"));
    // The line reaches the disk before the rename that makes it the settings file.
    bool written = std::fwrite(line.data(), 1, line.size(), file) == line.size() && std::fflush(file) == 0 &&
                   ::fsync(fileno(file)) == 0;
    std::string failure = written ? std::string() : SystemError("the new file cannot be written");
    if (std::fclose(file) != 0 && written) {
        written = false;
        failure = SystemError("the new file cannot be written");
    }
    if (written) {
        std::error_code error;
        std::filesystem::rename(newPath, path, error);
        if (!error) return;
        failure = "the new file cannot replace the old one (" + error.message() + ")";
    }
    std::error_code ignored;
    std::filesystem::remove(newPath, ignored);
    throw ConfigError(failure);
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

void LoadSettings(KBMain& kb, const std::string& path) {
    const Config config = ReadConfigFile(path);
    kb.DealerNm = config.DealerNm;
    kb.PassWrd = config.PassWrd;
    kb.TYMsg1 = config.TYMsg1;
    kb.TYMsg2 = config.TYMsg2;
}

}  // namespace kb
