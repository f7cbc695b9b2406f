#include "app/startup.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/config.h"
#include "store/store.h"
#include "support/doubles.h"
#include "support/temp_dir.h"

namespace kb {
namespace {

class StartUpTest : public ::testing::Test, protected test::Doubles {
protected:
    void writeFile(const std::string& name, const std::string& text) {
        std::ofstream(dir.file(name), std::ios::binary) << text;
    }

    test::TempDir dir;
    test::WorkingDir inDir{dir.path()};
};

TEST_F(StartUpTest, FirstStartCreatesTheThreeFilesAndNoSettings) {
    ASSERT_TRUE(StartUp(kb));
    EXPECT_TRUE(dialogs.messages.empty() && dialogs.prompts.empty());
    for (const char* name : {"KB_Loan.mdb", "KB_Pmts.mdb", "KB_Notes.mdb"}) EXPECT_TRUE(FileExists(name)) << name;
    EXPECT_FALSE(FileExists("KB.CFG"));
    EXPECT_EQ(kb.PmtsDB, "./KB_Pmts.mdb");
    EXPECT_EQ(std::tie(kb.DealerNm, kb.PassWrd, kb.TYMsg1, kb.TYMsg2),
              std::tuple(kDefaultDealerNm, false, kDefaultThankYou, ""));

    LoanRecord loan;
    loan.LoanNbr = "A17";
    LoanTable(kb.LoanDB).add(loan);
    std::filesystem::remove(dir.file("KB_Pmts.mdb"));
    ASSERT_TRUE(StartUp(kb));  // only the missing file is made again
    EXPECT_TRUE(FileExists("KB_Pmts.mdb"));
    EXPECT_EQ(LoanTable(kb.LoanDB).readAll(LoanOrder::ById).size(), 1u);
    EXPECT_TRUE(dialogs.messages.empty());
}

// Files start-up reads are never written: one that is not ours, or a broken KB.CFG, is named under "MAIN" and
// left as it is, and the defaults stay.
TEST_F(StartUpTest, FilesAreReadNeverWrittenAndWhatCannotBeReadIsNamed) {
    const struct {
        const char* file;
        const char* text;
        const char* dealer;  // in use after start-up
    } cases[] = {
        {"KB.CFG", "\"ACME MOTORS\",#FALSE#,\"COME AGAIN\",\"\"\r\n", "ACME MOTORS"},
        {"KB.CFG", "\"ACME MOTORS\",#TRUE\r\n", kDefaultDealerNm},
        {"KB_Notes.mdb", "my shopping list\n", kDefaultDealerNm},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::filesystem::remove(kConfigPath);
        writeFile(c.file, c.text);
        dialogs.messages.clear();
        kb.DealerNm = kDefaultDealerNm;
        ASSERT_TRUE(StartUp(kb));
        EXPECT_EQ(kb.DealerNm, c.dealer);
        EXPECT_EQ(test::FileText(c.file), c.text);
        const bool broken = std::string_view(c.dealer) == kDefaultDealerNm;
        ASSERT_EQ(dialogs.messages.size(), broken ? 1u : 0u);
        if (broken) {
            EXPECT_EQ(dialogs.messages[0].title, "MAIN");
            EXPECT_NE(dialogs.messages[0].text.find(c.file), std::string::npos) << dialogs.messages[0].text;
        }
    }
}

TEST_F(StartUpTest, PasswordIsAskedMaskedAndComparedWithoutCase) {
    const std::pair<std::optional<std::string>, bool> answers[] = {
        {"blu4rx", true}, {"BLU4RX", true}, {"BLU4R", false}, {"", false}, {std::nullopt, false}};
    writeFile("KB.CFG", "\"ACME\",#TRUE#,\"\",\"\"\r\n");
    for (const auto& [answer, accepted] : answers) {
        SCOPED_TRACE(answer.value_or("(Cancel)"));
        dialogs.prompts.clear();
        dialogs.answerPrompt(answer);
        EXPECT_EQ(StartUp(kb), accepted);
        ASSERT_EQ(dialogs.prompts.size(), 1u);
        EXPECT_TRUE(dialogs.prompts[0].text == "ENTER PASSWORD" && dialogs.prompts[0].masked);
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace kb
