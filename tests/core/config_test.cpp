#include "core/config.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <tuple>

#include "support/temp_dir.h"

namespace kb {
namespace {

auto Fields(const Config& c) { return std::tuple(c.DealerNm, c.PassWrd, c.TYMsg1, c.TYMsg2); }

TEST(ConfigTest, ReadsTheFieldsThatAreThere) {
    const std::pair<const char*, Config> cases[] = {
        {"\"ACME MOTORS\",#TRUE#,\"THANKS\",\"SEE YOU\"\r\n", {"ACME MOTORS", true, "THANKS", "SEE YOU"}},
        // Only the first two fields: both thank-you lines empty, not the default.
        {"\"ACME, INC.\",#TRUE#\r\n", {"ACME, INC.", true, "", ""}},
        {"\"ACME\",#FALSE#", {"ACME", false, "", ""}},
        {"\"ACME\",#FALSE#\r\n\"LINE 1\",\"LINE 2\"\r\n", {"ACME", false, "LINE 1", "LINE 2"}},
        {"  ACME MOTORS ,#FALSE#,\"A\",\"B\"\n", {"ACME MOTORS", false, "A", "B"}},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(Fields(ParseConfig(text)), Fields(expected)) << text;
}

TEST(ConfigTest, RefusesTextThatIsNotASettingsLine) {
    const std::pair<std::string, const char*> cases[] = {
        {"", "fewer than two fields"},         {"\"ACME MOTORS\"\r\n", "fewer than two fields"},
        {"\"ACME\",\"YES\",\"A\",\"B\"\r\n", "field 2"}, {"\"ACME\",#MAYBE#\r\n", "#MAYBE#"},
        {"\"ACME,#FALSE#\r\n", "not closed"},  {"\"ACME\",#FALSE\r\n", "not closed"},
        {"\"ACME\"X,#FALSE#\r\n", "not a comma"}, {"\"ACME\",#FALSE#,#TRUE#\r\n", "field 3"},
        {std::string("\"AC\0ME\",#FALSE#", 15), "not text"}, {"\"" + std::string(5000, 'A') + "\",#FALSE#", "too long"},
    };
    for (const auto& [text, complaint] : cases) {
        try {
            ParseConfig(text);
            ADD_FAILURE() << "accepted " << text.substr(0, 40);
        } catch (const ConfigError& error) {
            EXPECT_NE(std::string(error.what()).find(complaint), std::string::npos) << error.what();
        }
    }
}

using test::FileText;

TEST(ConfigTest, WritesOneLineThatReadsBack) {
    // The name loses its trailing blanks only; commas, tabs, leading blanks and other scripts stay.
    test::TempDir dir;
    WriteConfigFile(dir.file("KB.CFG"), {"  ACME, INC. \u00c9  ", true, "\tTHANKS ", ""});
    EXPECT_EQ(FileText(dir.file("KB.CFG")), "\"  ACME, INC. \u00c9\",#TRUE#,\"\tTHANKS \",\"\"\r\n");
    EXPECT_EQ(Fields(ReadConfigFile(dir.file("KB.CFG"))), Fields({"  ACME, INC. \u00c9", true, "\tTHANKS ", ""}));
}

TEST(ConfigTest, KeepsTheOldFileWhenTheNewOneCannotBeWritten) {
    test::TempDir dir;
    const std::string path = dir.file("KB.CFG"), old = "\"OLD\",#TRUE#,\"KEEP\",\"ME\"";
    std::ofstream(path, std::ios::binary) << old;
    namespace fs = std::filesystem;
    // Settings that would not read back; a directory standing where the new file goes; an old file marked read-only,
    // which is not replaced even for a user allowed to write anything.
    const std::pair<Config, std::function<void()>> cases[] = {
        {{"JOE \"BIG\" AUTO", false, "", ""}, [] {}},      {{"ACME", false, "", "\""}, [] {}},
        {{"ACME", false, "LINE\r\nBREAK", ""}, [] {}},       {{std::string(3000, 'A'), false, "", ""}, [] {}},
        {{"NEW", false, "", ""}, [&] { fs::create_directory(path + ".new"); }},
        {{"NEW", false, "", ""}, [&] { fs::remove(path + ".new"), fs::permissions(path, fs::perms(0444)); }},
    };
    for (const auto& [config, prepare] : cases) {
        prepare();
        EXPECT_THROW(WriteConfigFile(path, config), ConfigError) << config.DealerNm.substr(0, 20);
        EXPECT_EQ(FileText(path), old);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), fs::is_directory(path + ".new") ? 2 : 1);
    }
}

}  // namespace
}  // namespace kb
