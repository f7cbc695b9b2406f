#include "help/rtf_reader.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <random>

namespace kb {
namespace {

QString PlainText(std::string_view rtf) {
    QTextDocument document;
    ReadRtf(rtf, document);
    return document.toPlainText();
}

struct TextCase {
    std::string rtf;
    const char* expected;  // UTF-8
};

TEST(RtfReaderTest, ReadsTheTextOfSmallDocuments) {
    const TextCase cases[] = {
        {R"({\rtf1\ansi Hello\par World})", "Hello\nWorld"},
        {R"({\rtf1 a\line b\tab c})", "a\nb\tc"},
        {"{\\rtf1 one\r\ntwo\n}", "onetwo"},
        {R"({\rtf1 caf\'e9 \'80 \'93q\'94})", "caf\u00e9 \u20ac \u201cq\u201d"},
        {R"({\rtf1 \'81x\'zz})", "xzz"},
        {R"({\rtf1\uc1 \u8364?5})", "\u20ac5"},
        {R"({\rtf1\uc2 \u8364\'80y5})", "\u20ac5"},
        {R"({\rtf1 {\uc3 \u8364 ab}c})", "\u20acc"},
        {R"({\rtf1 \u-10179?\u-8704?})", "\U0001F600"},
        {R"({\rtf1 \\ \{ \} a\~b\emdash c})", "\\ { } a b\u2014c"},
        {R"({\rtf1{\fonttbl{\f0\fswiss{\*\panose 02}Arial;}}{\colortbl;\red1\green2\blue3;})"
         R"({\stylesheet{\s0 Normal;}}{\info{\title T}}Body})",
         "Body"},
        {R"({\rtf1 a{\*\unknowndest hidden {nested \par}}b})", "ab"},
        {R"({\rtf1 x\zzz y\qqq-5 z\abcdefghijklmnopqrstuvwxyzabcdefghij w})", "xyzw"},
        {R"({\rtf1 a\bin3 xyzb})", "ab"},
        {R"({\rtf1 {\field{\*\fldinst HYPERLINK "x"}{\fldrslt link}}})", "link"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.rtf);
        EXPECT_EQ(PlainText(c.rtf).toStdString(), c.expected);
    }
}

// The font, size, style and colour of the first letter of `text`, in a few words.
std::string Looks(const QTextDocument& document, const QString& text) {
    QTextCursor found = document.find(text, 0, QTextDocument::FindCaseSensitively);
    EXPECT_FALSE(found.isNull()) << text.toStdString();
    found.setPosition(found.selectionStart() + 1);
    const QTextCharFormat format = found.charFormat();
    QString looks = format.fontFamilies().toStringList().join(",") + " " + QString::number(format.fontPointSize());
    if (format.fontWeight() == QFont::Bold) looks += " bold";
    if (format.fontItalic()) looks += " italic";
    if (format.fontUnderline()) looks += " underlined";
    if (format.foreground().style() != Qt::NoBrush) looks += " " + format.foreground().color().name();
    return looks.toStdString();
}

TEST(RtfReaderTest, KeepsTheFormatting) {
    const char* rtf =
        R"({\rtf1\ansi\deff1{\fonttbl{\f0\fmodern Courier New;}{\f1\fswiss Arial;}})"
        R"({\colortbl;\red255\green0\blue0;\red0\green0\blue128;})"
        R"(\fs28 plain \b bold\b0  \i italic\i0  \ul under\ulnone  \cf1 red\cf0  {\b\cf2 group}after )"
        R"(\f0\fs20 fixed\par\qc centered\par\pard\qr right\par\pard\li720\fi-360 indented})";
    QTextDocument document;
    ReadRtf(rtf, document);
    const std::pair<const char*, const char*> looks[] = {
        {"plain", "Arial 14"},           {"bold", "Arial 14 bold"},  {"italic", "Arial 14 italic"},
        {"under", "Arial 14 underlined"}, {"red", "Arial 14 #ff0000"}, {"group", "Arial 14 bold #000080"},
        {"after", "Arial 14"},           {"fixed", "Courier New 10"},
    };
    for (const auto& [text, expected] : looks) EXPECT_EQ(Looks(document, text), expected);

    const std::pair<const char*, Qt::Alignment> alignments[] = {
        {"plain", Qt::AlignLeft}, {"centered", Qt::AlignHCenter}, {"right", Qt::AlignRight}, {"indented", Qt::AlignLeft}};
    for (const auto& [text, alignment] : alignments) {
        EXPECT_EQ(document.find(text).block().blockFormat().alignment() & Qt::AlignHorizontal_Mask, alignment) << text;
    }
    const QTextBlockFormat indented = document.find("indented").block().blockFormat();
    EXPECT_EQ(std::pair(indented.leftMargin(), indented.textIndent()), std::pair(48.0, -24.0));
}

TEST(RtfReaderTest, DamagedInputLeavesOutWhatItCannotRead) {
    const TextCase cases[] = {
        {"}}}{\\rtf1 a}}}b{{", "ab"},
        {"{\\rtf1 abc\\'4", "abc"},
        {"{\\rtf1 abc\\", "abc"},
        {"{\\rtf1{\\fonttbl{\\f0 Ari", ""},
        {"{\\rtf1 \\b bold", "bold"},
        {"{\\rtf1 \\u99999999999999?y", "y"},
        {"{\\rtf1 \\fs-99999999999999 big \\cf999 \\f77 x\\par}", "big x\n"},
        {"{\\rtf1\\bin999999999 hidden", ""},
        {std::string("{\\rtf1 a\0b\x01\x7f", 13), "ab\x7f"},
        {std::string(100000, '{') + "deep" + std::string(100000, '}') + "after", "deepafter"},
        {std::string(100000, '}') + "x" + std::string(100000, '{'), "x"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.rtf.substr(0, 60));
        EXPECT_EQ(PlainText(c.rtf).toStdString(), c.expected);
    }
}

TEST(RtfReaderTest, RandomBytesNeitherCrashNorHang) {
    std::mt19937 random(20240611);
    // Bytes of every kind, and bytes that make up control words, groups and escapes.
    const std::string rtfAlphabet = "{}\\\\\\'*;- 0123456789abfiluqcrpdnt\r\n";
    for (int round = 0; round < 400; ++round) {
        const std::size_t length = random() % 4096;
        std::string bytes(length, '\0');
        for (char& byte : bytes) {
            byte = round % 2 ? static_cast<char>(random() % 256) : rtfAlphabet[random() % rtfAlphabet.size()];
        }
        SCOPED_TRACE(round);
        // Every character shown stands for at least one byte read.
        EXPECT_LE(PlainText(bytes).size(), static_cast<qsizetype>(length));
    }
}

}  // namespace
}  // namespace kb
