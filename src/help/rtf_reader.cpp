#include "help/rtf_reader.h"

#include <QColor>
#include <QFont>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>
#include <array>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <stdexcept>
#include <unordered_map>
#include <vector>

namespace kb {

namespace {

// Groups nested deeper than this are read as part of the deepest one, so that damaged input cannot make the state
// stack grow without bound.
constexpr std::size_t kMaxGroupDepth = 200;
constexpr std::size_t kMaxWordLength = 32;
constexpr int kMaxParamDigits = 10;
constexpr int kMaxUnicodeSkip = 16;
constexpr int kDefaultTabTwips = 720;
constexpr double kTwipsPerPixel = 15.0;  // 1440 twips to the inch, 96 pixels to the inch

// Code page 1252 from 0x80 to 0x9F; 0 marks the five codes the code page leaves unassigned.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t FromCp1252(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return kCp1252High[byte - 0x80];
    return byte;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

enum class Word {
    FontTable, ColourTable, SkipDestination, DefaultFont, DefaultTab, UnicodeSkip, Unicode, Binary,
    Font, FontHint, Red, Green, Blue,
    Bold, Italic, Underline, UnderlineNone, Strike, FontSize, Colour, Background, Super, Sub, NoSuperSub, Plain,
    Pard, Par, Line, Tab, AlignLeft, AlignCenter, AlignRight, AlignJustify,
    LeftIndent, RightIndent, FirstIndent, SpaceBefore, SpaceAfter, Character,
};

struct WordMeaning {
    Word word;
    int value = 0;  // the font hint or the character of the word
};

const std::unordered_map<std::string_view, WordMeaning>& Words() {
    static const std::unordered_map<std::string_view, WordMeaning> words = [] {
        std::unordered_map<std::string_view, WordMeaning> map = {
            {"fonttbl", {Word::FontTable}}, {"colortbl", {Word::ColourTable}}, {"deff", {Word::DefaultFont}},
            {"deftab", {Word::DefaultTab}}, {"uc", {Word::UnicodeSkip}}, {"u", {Word::Unicode}},
            {"bin", {Word::Binary}}, {"f", {Word::Font}},
            {"fnil", {Word::FontHint, QFont::AnyStyle}}, {"froman", {Word::FontHint, QFont::Serif}},
            {"fswiss", {Word::FontHint, QFont::SansSerif}}, {"fmodern", {Word::FontHint, QFont::TypeWriter}},
            {"fscript", {Word::FontHint, QFont::Cursive}}, {"fdecor", {Word::FontHint, QFont::Decorative}},
            {"red", {Word::Red}}, {"green", {Word::Green}}, {"blue", {Word::Blue}},
            {"b", {Word::Bold}}, {"i", {Word::Italic}}, {"ulnone", {Word::UnderlineNone}}, {"strike", {Word::Strike}},
            {"fs", {Word::FontSize}}, {"cf", {Word::Colour}}, {"highlight", {Word::Background}},
            {"cb", {Word::Background}}, {"super", {Word::Super}}, {"sub", {Word::Sub}},
            {"nosupersub", {Word::NoSuperSub}}, {"plain", {Word::Plain}}, {"pard", {Word::Pard}},
            {"par", {Word::Par}}, {"sect", {Word::Par}}, {"page", {Word::Par}}, {"row", {Word::Par}},
            {"line", {Word::Line}}, {"tab", {Word::Tab}}, {"cell", {Word::Tab}},
            {"ql", {Word::AlignLeft}}, {"qc", {Word::AlignCenter}}, {"qr", {Word::AlignRight}},
            {"qj", {Word::AlignJustify}}, {"li", {Word::LeftIndent}}, {"ri", {Word::RightIndent}},
            {"fi", {Word::FirstIndent}}, {"sb", {Word::SpaceBefore}}, {"sa", {Word::SpaceAfter}},
            {"emdash", {Word::Character, 0x2014}}, {"endash", {Word::Character, 0x2013}},
            {"bullet", {Word::Character, 0x2022}}, {"lquote", {Word::Character, 0x2018}},
            {"rquote", {Word::Character, 0x2019}}, {"ldblquote", {Word::Character, 0x201C}},
            {"rdblquote", {Word::Character, 0x201D}}, {"emspace", {Word::Character, 0x2003}},
            {"enspace", {Word::Character, 0x2002}}, {"qmspace", {Word::Character, 0x2005}},
        };
        // Every kind of underline is shown as the plain one.
        for (std::string_view word : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash",
                                      "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash",
                                      "ululdbwave", "ulw", "ulwave"})
            map[word] = {Word::Underline};
        // Destinations that hold no text of the document, written without \* by older writers.
        for (std::string_view word :
             {"info", "stylesheet", "pict", "object", "header", "headerl", "headerr", "headerf", "footer", "footerl",
              "footerr", "footerf", "footnote", "annotation", "xe", "tc", "txe", "rxe", "fldinst", "themedata",
              "colorschememapping", "latentstyles", "datastore", "listtable", "listoverridetable", "rsidtbl",
              "generator", "pgdsctbl", "filetbl", "revtbl", "xmlnstbl", "userprops", "docvar", "nonshppict",
              "shpinst", "pntxta", "pntxtb", "template", "bkmkstart", "bkmkend"})
            map[word] = {Word::SkipDestination};
        return map;
    }();
    return words;
}

enum class Destination { Text, Skip, FontTable, ColourTable };

struct CharState {
    int font = -1;        // index into the font table; -1: the default font
    int halfPoints = 24;  // RTF's own default, 12 point
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int colour = 0;  // index into the colour table; 0: automatic
    int background = 0;
    int vertical = 0;  // 1 superscript, -1 subscript
    bool operator==(const CharState&) const = default;
};

struct ParaState {
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftTwips = 0;
    int rightTwips = 0;
    int firstTwips = 0;
    int beforeTwips = 0;
    int afterTwips = 0;
};

struct GroupState {
    CharState chars;
    ParaState para;
    Destination destination = Destination::Text;
    int unicodeSkip = 1;  // \ucN: how many characters of fallback follow each \uN
};

struct FontEntry {
    QString name;
    QFont::StyleHint hint = QFont::AnyStyle;
};

class RtfReader {
public:
    RtfReader(std::string_view rtf, QTextDocument& document) : rtf_(rtf), document_(document), cursor_(&document) {}

    void read() {
        cursor_.beginEditBlock();
        while (pos_ < rtf_.size()) {
            const char c = rtf_[pos_++];
            if (c == '{') {
                skipFallback_ = 0;
                openGroup();
            } else if (c == '}') {
                skipFallback_ = 0;
                closeGroup();
            } else if (c == '\\') {
                controlSequence();
            } else if (c == '\t') {
                if (!fallbackSkipped()) text(u'\t');
            } else if (static_cast<unsigned char>(c) >= 0x20) {
                if (!fallbackSkipped()) text(FromCp1252(static_cast<unsigned char>(c)));
            }
            // Line ends and other control characters are not text in RTF.
        }
        flush();
        cursor_.setBlockFormat(blockFormat(lastPara_));
        cursor_.endEditBlock();
    }

private:
    void openGroup() {
        if (stack_.size() >= kMaxGroupDepth) {
            ++excessDepth_;
            return;
        }
        stack_.push_back(state_);
    }

    void closeGroup() {
        if (excessDepth_ > 0) {
            --excessDepth_;
            return;
        }
        if (stack_.empty()) return;  // a brace too many
        if (state_.destination == Destination::FontTable && !fontName_.isEmpty()) endFontEntry();
        state_ = stack_.back();
        stack_.pop_back();
    }

    // A character of a \uN fallback is left out; true when `c` was one.
    bool fallbackSkipped() {
        if (skipFallback_ == 0) return false;
        --skipFallback_;
        return true;
    }

    void controlSequence() {
        if (pos_ >= rtf_.size()) return;
        const char c = rtf_[pos_];
        if (IsLetter(c)) {
            controlWord();
            return;
        }
        ++pos_;
        if (c == '\'') {
            int value = 0;
            int digits = 0;
            while (digits < 2 && pos_ < rtf_.size() && HexValue(rtf_[pos_]) >= 0) {
                value = value * 16 + HexValue(rtf_[pos_++]);
                ++digits;
            }
            if (fallbackSkipped() || digits < 2) return;
            if (char16_t character = FromCp1252(static_cast<unsigned char>(value))) text(character);
            return;
        }
        if (fallbackSkipped()) return;
        switch (c) {
            case '\\':
            case '{':
            case '}': text(static_cast<char16_t>(c)); break;
            case '~': text(u'\u00A0'); break;
            case '_': text(u'\u2011'); break;
            case '*': state_.destination = Destination::Skip; break;
            case '\r':
            case '\n': paragraph(); break;
            default: break;  // optional hyphens, index marks and the like show nothing
        }
    }

    void controlWord() {
        const std::size_t start = pos_;
        while (pos_ < rtf_.size() && IsLetter(rtf_[pos_])) ++pos_;
        const std::string_view word = rtf_.substr(start, pos_ - start);
        bool hasParam = false;
        bool negative = false;
        long long value = 0;
        if (pos_ + 1 < rtf_.size() && rtf_[pos_] == '-' && IsDigit(rtf_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        for (int digits = 0; pos_ < rtf_.size() && IsDigit(rtf_[pos_]); ++digits, ++pos_) {
            if (digits < kMaxParamDigits) value = value * 10 + (rtf_[pos_] - '0');
            hasParam = true;
        }
        if (pos_ < rtf_.size() && rtf_[pos_] == ' ') ++pos_;
        value = std::min<long long>(value, std::numeric_limits<int>::max());
        const int param = static_cast<int>(negative ? -value : value);

        if (fallbackSkipped()) return;
        if (word.size() > kMaxWordLength) return;
        const auto found = Words().find(word);
        if (found == Words().end()) return;  // a word this reader does not know shows nothing
        apply(found->second, hasParam, param);
    }

    void apply(const WordMeaning& meaning, bool hasParam, int param) {
        CharState& chars = state_.chars;
        ParaState& para = state_.para;
        const bool on = !hasParam || param != 0;
        switch (meaning.word) {
            case Word::FontTable: state_.destination = Destination::FontTable; break;
            case Word::ColourTable: state_.destination = Destination::ColourTable; break;
            case Word::SkipDestination: state_.destination = Destination::Skip; break;
            case Word::DefaultFont: defaultFont_ = param; break;
            case Word::DefaultTab:
                if (hasParam && param > 0) {
                    QTextOption option = document_.defaultTextOption();
                    option.setTabStopDistance(std::min(param, 1440 * 10) / kTwipsPerPixel);
                    document_.setDefaultTextOption(option);
                }
                break;
            case Word::UnicodeSkip: state_.unicodeSkip = std::clamp(param, 0, kMaxUnicodeSkip); break;
            case Word::Unicode: unicode(param); break;
            case Word::Binary:
                if (hasParam && param > 0) pos_ += std::min<std::size_t>(param, rtf_.size() - pos_);
                break;
            case Word::Font:
                if (state_.destination == Destination::FontTable) {
                    fontIndex_ = param;
                    fontHint_ = QFont::AnyStyle;
                    fontName_.clear();
                } else {
                    chars.font = param;
                }
                break;
            case Word::FontHint: fontHint_ = static_cast<QFont::StyleHint>(meaning.value); break;
            case Word::Red: colourPart(red_, param); break;
            case Word::Green: colourPart(green_, param); break;
            case Word::Blue: colourPart(blue_, param); break;
            case Word::Bold: chars.bold = on; break;
            case Word::Italic: chars.italic = on; break;
            case Word::Underline: chars.underline = on; break;
            case Word::UnderlineNone: chars.underline = false; break;
            case Word::Strike: chars.strike = on; break;
            case Word::FontSize: chars.halfPoints = hasParam ? std::clamp(param, 2, 3276) : 24; break;
            case Word::Colour: chars.colour = param; break;
            case Word::Background: chars.background = param; break;
            case Word::Super: chars.vertical = 1; break;
            case Word::Sub: chars.vertical = -1; break;
            case Word::NoSuperSub: chars.vertical = 0; break;
            case Word::Plain: chars = CharState(); break;
            case Word::Pard: para = ParaState(); break;
            case Word::Par: paragraph(); break;
            case Word::Line: text(u'\u2028'); break;
            case Word::Tab: text(u'\t'); break;
            case Word::AlignLeft: para.alignment = Qt::AlignLeft; break;
            case Word::AlignCenter: para.alignment = Qt::AlignHCenter; break;
            case Word::AlignRight: para.alignment = Qt::AlignRight; break;
            case Word::AlignJustify: para.alignment = Qt::AlignJustify; break;
            case Word::LeftIndent: para.leftTwips = param; break;
            case Word::RightIndent: para.rightTwips = param; break;
            case Word::FirstIndent: para.firstTwips = param; break;
            case Word::SpaceBefore: para.beforeTwips = param; break;
            case Word::SpaceAfter: para.afterTwips = param; break;
            case Word::Character: text(static_cast<char16_t>(meaning.value)); break;
        }
    }

    void unicode(int param) {
        const int code = param < 0 ? param + 65536 : param;
        if (code >= 0 && code <= 0xFFFF) text(static_cast<char16_t>(code));
        skipFallback_ = state_.unicodeSkip;
    }

    void colourPart(int& part, int value) {
        part = std::clamp(value, 0, 255);
        colourGiven_ = true;
    }

    // A character of the current destination.
    void text(char16_t c) {
        switch (state_.destination) {
            case Destination::Text: append(c); break;
            case Destination::FontTable:
                if (c == u';')
                    endFontEntry();
                else
                    fontName_ += QChar(c);
                break;
            case Destination::ColourTable:
                if (c == u';') endColourEntry();
                break;
            case Destination::Skip: break;
        }
    }

    void endFontEntry() {
        fonts_[fontIndex_] = {fontName_.trimmed(), fontHint_};
        fontName_.clear();
    }

    void endColourEntry() {
        colours_.push_back(colourGiven_ ? QColor(red_, green_, blue_) : QColor());
        red_ = green_ = blue_ = 0;
        colourGiven_ = false;
    }

    // Joins the halves of a surrogate pair; a half without its partner is left out.
    void append(char16_t c) {
        if (QChar::isHighSurrogate(c)) {
            highSurrogate_ = c;
            return;
        }
        if (QChar::isLowSurrogate(c)) {
            if (highSurrogate_) {
                put(highSurrogate_);
                put(c);
            }
            highSurrogate_ = 0;
            return;
        }
        highSurrogate_ = 0;
        // Characters the document would take for structure rather than text.
        if ((c < 0x20 && c != u'\t') || c == 0x2029 || (c >= 0xFDD0 && c <= 0xFDEF) || c >= 0xFFFE) return;
        put(c);
    }

    void put(char16_t c) {
        if (!run_.isEmpty() && !(runChars_ == state_.chars)) flush();
        runChars_ = state_.chars;
        run_ += QChar(c);
        lastPara_ = state_.para;
    }

    void flush() {
        if (run_.isEmpty()) return;
        cursor_.insertText(run_, charFormat(runChars_));
        run_.clear();
    }

    void paragraph() {
        if (state_.destination != Destination::Text) return;
        flush();
        highSurrogate_ = 0;
        if (cursor_.block().length() == 1) cursor_.setBlockCharFormat(charFormat(state_.chars));
        cursor_.setBlockFormat(blockFormat(state_.para));
        cursor_.insertBlock();
        lastPara_ = state_.para;
    }

    QColor colourAt(int index) const {
        if (index <= 0 || index >= static_cast<int>(colours_.size())) return QColor();
        return colours_[static_cast<std::size_t>(index)];
    }

    QTextCharFormat charFormat(const CharState& chars) const {
        QTextCharFormat format;
        const auto font = fonts_.find(chars.font >= 0 ? chars.font : defaultFont_);
        if (font != fonts_.end() && !font->second.name.isEmpty()) {
            format.setFontFamilies({font->second.name});
            format.setFontStyleHint(font->second.hint);
        }
        format.setFontPointSize(chars.halfPoints / 2.0);
        format.setFontWeight(chars.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(chars.italic);
        format.setFontUnderline(chars.underline);
        format.setFontStrikeOut(chars.strike);
        if (const QColor colour = colourAt(chars.colour); colour.isValid()) format.setForeground(colour);
        if (const QColor colour = colourAt(chars.background); colour.isValid()) format.setBackground(colour);
        if (chars.vertical != 0)
            format.setVerticalAlignment(chars.vertical > 0 ? QTextCharFormat::AlignSuperScript
                                                           : QTextCharFormat::AlignSubScript);
        return format;
    }

    static QTextBlockFormat blockFormat(const ParaState& para) {
        QTextBlockFormat format;
        format.setAlignment(para.alignment);
        format.setLeftMargin(std::clamp(para.leftTwips, 0, 14400) / kTwipsPerPixel);
        format.setRightMargin(std::clamp(para.rightTwips, 0, 14400) / kTwipsPerPixel);
        format.setTextIndent(std::clamp(para.firstTwips, -14400, 14400) / kTwipsPerPixel);
        format.setTopMargin(std::clamp(para.beforeTwips, 0, 14400) / kTwipsPerPixel);
        format.setBottomMargin(std::clamp(para.afterTwips, 0, 14400) / kTwipsPerPixel);
        return format;
    }

    std::string_view rtf_;
    std::size_t pos_ = 0;
    QTextDocument& document_;
    QTextCursor cursor_;

    GroupState state_;
    std::vector<GroupState> stack_;
    std::size_t excessDepth_ = 0;
    int skipFallback_ = 0;
    char16_t highSurrogate_ = 0;

    QString run_;
    CharState runChars_;
    ParaState lastPara_;

    std::map<int, FontEntry> fonts_;
    int defaultFont_ = 0;
    int fontIndex_ = 0;
    QFont::StyleHint fontHint_ = QFont::AnyStyle;
    QString fontName_;

    std::vector<QColor> colours_;
    int red_ = 0;
    int green_ = 0;
    int blue_ = 0;
    bool colourGiven_ = false;
};

}  // namespace

void ReadRtf(std::string_view rtf, QTextDocument& document) {
    document.clear();
    document.setUndoRedoEnabled(false);
    QTextOption option = document.defaultTextOption();
    option.setTabStopDistance(kDefaultTabTwips / kTwipsPerPixel);
    document.setDefaultTextOption(option);
    RtfReader(rtf, document).read();
}

void LoadRtfFile(const std::string& path, QTextDocument& document) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("The file " + path + " cannot be opened");
    std::ostringstream rtf;
    rtf << file.rdbuf();
    if (file.bad()) throw std::runtime_error("The file " + path + " cannot be read");
    ReadRtf(rtf.view(), document);
}

}  // namespace kb
