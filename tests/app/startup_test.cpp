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
    std::string readFile(const std::string& name) {
        std::ifstream file(dir.file(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    test::TempDir dir;
    test::WorkingDir inDir{dir.path()};
};

TEST_F(StartUpTest, FirstStartCreatesTheThreeFilesAndNoSettings) {
    ASSERT_TRUE(StartUp(kb));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.prompts.empty());
    for (const char* name : {"KB_Loan.mdb", "KB_Pmts.mdb", "KB_Notes.mdb"}) EXPECT_TRUE(FileExists(name)) << name;
    EXPECT_FALSE(FileExists("KB.CFG"));
    EXPECT_EQ(kb.LoanDB, "./KB_Loan.mdb");
    EXPECT_EQ(kb.PmtsDB, "./KB_Pmts.mdb");
    EXPECT_EQ(kb.NotesDB, "./KB_Notes.mdb");
    EXPECT_EQ(kb.PrgVer, "VER8.03");
    EXPECT_EQ(kb.DealerNm, "HARROWDALE (800) 555-0142");
    EXPECT_FALSE(kb.PassWrd);
    EXPECT_EQ(kb.TYMsg1, "THANK YOU FOR YOUR PAYMENT");
    EXPECT_EQ(kb.TYMsg2, "");
}

TEST_F(StartUpTest, OnlyTheMissingFileIsCreatedAgain) {
    ASSERT_TRUE(StartUp(kb));
    LoanRecord loan;
    loan.LoanNbr = "A17";
    LoanTable(kb.LoanDB).add(loan);
    std::filesystem::remove(dir.file("KB_Pmts.mdb"));
    ASSERT_TRUE(StartUp(kb));
    EXPECT_TRUE(FileExists("KB_Pmts.mdb"));
    EXPECT_EQ(LoanTable(kb.LoanDB).readAll(LoanOrder::ById).size(), 1u);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(StartUpTest, AFileThatIsNotOursIsReportedAndLeftAlone) {
    writeFile("KB_Notes.mdb", "my shopping list\n");
    ASSERT_TRUE(StartUp(kb));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "MAIN");
    EXPECT_EQ(dialogs.messages[0].icon, Icon::Critical);
    EXPECT_NE(dialogs.messages[0].text.find("KB_Notes.mdb"), std::string::npos) << dialogs.messages[0].text;
    EXPECT_EQ(readFile("KB_Notes.mdb"), "my shopping list\n");
}

TEST_F(StartUpTest, SettingsAreReadFromTheFileAndNeverWritten) {
    const std::string line = "\"ACME MOTORS\",#FALSE#,\"COME AGAIN\",\"\"\r\n";
    writeFile("KB.CFG", line);
    ASSERT_TRUE(StartUp(kb));
    EXPECT_EQ(kb.DealerNm, "ACME MOTORS");
    EXPECT_EQ(kb.TYMsg1, "COME AGAIN");
    EXPECT_EQ(readFile("KB.CFG"), line);
}

TEST_F(StartUpTest, ABrokenSettingsFileIsReportedAndTheDefaultsStay) {
    const std::string line = "\"ACME MOTORS\",#TRUE\r\n";
    writeFile("KB.CFG", line);
    ASSERT_TRUE(StartUp(kb));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "MAIN");
    EXPECT_NE(dialogs.messages[0].text.find("KB.CFG"), std::string::npos);
    EXPECT_EQ(kb.DealerNm, "HARROWDALE (800) 555-0142");
    EXPECT_FALSE(kb.PassWrd);
    EXPECT_EQ(kb.TYMsg1, "THANK YOU FOR YOUR PAYMENT");
    EXPECT_EQ(readFile("KB.CFG"), line);
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
        EXPECT_EQ(dialogs.prompts[0].text, "ENTER PASSWORD");
        EXPECT_EQ(dialogs.prompts[0].title, "Kestrel-Book");
        EXPECT_TRUE(dialogs.prompts[0].masked);
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace kb
