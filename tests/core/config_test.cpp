#include "core/config.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kb
