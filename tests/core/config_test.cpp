#include "core/config.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/temp_dir.h"

namespace kb {
namespace {

struct GoodConfig {
    const char* text;
    Config expected;
};

TEST(ConfigTest, ReadsTheFieldsThatAreThere) {
    const GoodConfig cases[] = {
        {"\"ACME MOTORS\",#FALSE#,\"THANK YOU FOR YOUR PAYMENT\",\"\"\r\n",
         {"ACME MOTORS", false, "THANK YOU FOR YOUR PAYMENT", ""}},
        {"\"ACME MOTORS\",#TRUE#,\"THANKS\",\"SEE YOU\"\r\n", {"ACME MOTORS", true, "THANKS", "SEE YOU"}},
        // Only the first two fields: both thank-you lines empty, not the default.
        {"\"ACME, INC.\",#TRUE#\r\n", {"ACME, INC.", true, "", ""}},
        {"\"ACME\",#FALSE#", {"ACME", false, "", ""}},
        {"\"ACME\",#FALSE#\r\n\"LINE 1\",\"LINE 2\"\r\n", {"ACME", false, "LINE 1", "LINE 2"}},
        {"  ACME MOTORS ,#FALSE#,\"A\",\"B\"\n", {"ACME MOTORS", false, "A", "B"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Config config = ParseConfig(c.text);
        EXPECT_EQ(config.DealerNm, c.expected.DealerNm);
        EXPECT_EQ(config.PassWrd, c.expected.PassWrd);
        EXPECT_EQ(config.TYMsg1, c.expected.TYMsg1);
        EXPECT_EQ(config.TYMsg2, c.expected.TYMsg2);
    }
}

TEST(ConfigTest, RefusesTextThatIsNotASettingsLine) {
    const std::pair<std::string, const char*> cases[] = {
        {"", "fewer than two fields"},
        {"\"ACME MOTORS\"\r\n", "fewer than two fields"},
        {"\"ACME\",\"YES\",\"A\",\"B\"\r\n", "field 2"},
        {"\"ACME\",#MAYBE#\r\n", "#MAYBE#"},
        {"\"ACME,#FALSE#\r\n", "not closed"},
        {"\"ACME\",#FALSE\r\n", "not closed"},
        {"\"ACME\"X,#FALSE#\r\n", "not a comma"},
        {"\"ACME\",#FALSE#,#TRUE#\r\n", "field 3"},
        {std::string("\"AC\0ME\",#FALSE#", 15), "not text"},
        {"\"" + std::string(5000, 'A') + "\",#FALSE#", "too long"},
    };
    for (const auto& [text, complaint] : cases) {
        SCOPED_TRACE(text.substr(0, 40));
        try {
            ParseConfig(text);
            ADD_FAILURE() << "accepted";
        } catch (const ConfigError& error) {
            EXPECT_NE(std::string(error.what()).find(complaint), std::string::npos) << error.what();
        }
    }
}

std::string FileText(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

TEST(ConfigTest, WritesOneLineThatReadsBack) {
    // The name loses its trailing blanks only; commas, tabs, leading blanks and other scripts stay.
    const Config written{"  ACME, INC. \u00c9  ", true, "\tTHANKS ", ""};
    test::TempDir dir;
    WriteConfigFile(dir.file("KB.CFG"), written);
    EXPECT_EQ(FileText(dir.file("KB.CFG")), "\"  ACME, INC. \u00c9\",#TRUE#,\"\tTHANKS \",\"\"\r\n");
    const Config read = ReadConfigFile(dir.file("KB.CFG"));
    EXPECT_EQ(read.DealerNm, "  ACME, INC. \u00c9");
    EXPECT_TRUE(read.PassWrd);
    EXPECT_EQ(read.TYMsg1, written.TYMsg1);
    EXPECT_EQ(read.TYMsg2, "");
}

TEST(ConfigTest, KeepsTheOldFileWhenTheNewOneCannotBeWritten) {
    test::TempDir dir;
    const std::string path = dir.file("KB.CFG");
    const std::string old = "\"OLD\",#TRUE#,\"KEEP\",\"ME\"";
    std::ofstream(path, std::ios::binary) << old;
    // Settings that would not read back are refused.
    const Config refused[] = {{"JOE \"BIG\" AUTO", false, "", ""}, {"ACME", false, "", "\""},
                              {"ACME", false, "LINE\r\nBREAK", ""}, {std::string(3000, 'A'), false, "", ""}};
    for (const Config& config : refused) {
        SCOPED_TRACE(config.DealerNm.substr(0, 20) + config.TYMsg1 + config.TYMsg2);
        EXPECT_THROW(WriteConfigFile(path, config), ConfigError);
        EXPECT_EQ(FileText(path), old);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    }
    // The new file cannot be made where a directory of its name stands.
    std::filesystem::create_directory(path + ".new");
    EXPECT_THROW(WriteConfigFile(path, {"NEW", false, "", ""}), ConfigError);
    EXPECT_EQ(FileText(path), old);
    // A settings file marked read-only is not replaced, even for a user allowed to write anything.
    std::filesystem::remove(path + ".new");
    std::filesystem::permissions(path, std::filesystem::perms(0444));
    EXPECT_THROW(WriteConfigFile(path, {"NEW", false, "", ""}), ConfigError);
    EXPECT_EQ(FileText(path), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
}  // namespace kb
