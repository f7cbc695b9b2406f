#include "app/book_folder.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

namespace kb {
namespace {

namespace fs = std::filesystem;

TEST(BookFolderTest, ArgumentsNameTheBookOrAreRefused) {
    const struct {
        std::vector<std::string> arguments;
        std::optional<fs::path> book;
        bool refused;
    } cases[] = {
        {{}, std::nullopt, false},
        {{"--book", "/srv/books/acme"}, "/srv/books/acme", false},
        {{"--book=acme"}, "acme", false},
        {{"--book"}, std::nullopt, true},
        {{"--book="}, std::nullopt, true},
        {{"acme"}, std::nullopt, true},
        {{"--bok", "acme"}, std::nullopt, true},
    };
    for (const auto& [arguments, book, refused] : cases) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        if (refused) {
            EXPECT_THROW(ParseStartArguments(arguments), BookFolderError);
            continue;
        }
        EXPECT_EQ(ParseStartArguments(arguments).book, book);
    }
    const StartArguments copy = ParseStartArguments({"--copy-book-from-server", "--book", "acme"});
    EXPECT_EQ(copy.copy, CopyDirection::FromServer);
    EXPECT_EQ(copy.book, "acme");
}

TEST(BookFolderTest, TheAskedFolderThenTheCurrentBookThenTheHomeBook) {
    test::TempDir dir;
    const fs::path withBook = dir.path() / "with-book";
    const fs::path empty = dir.path() / "empty";
    fs::create_directories(withBook);
    fs::create_directories(empty);
    std::ofstream(withBook / "KB_Loan.mdb") << "";
    const struct {
        std::optional<fs::path> asked;
        fs::path current;
        std::string home;
        std::optional<fs::path> chosen;  // nullopt: refused
    } cases[] = {
        {"acme", empty, "/home/lee", empty / "acme"},
        {"/srv/acme", withBook, "/home/lee", "/srv/acme"},
        {std::nullopt, withBook, "/home/lee", withBook},
        {std::nullopt, empty, "/home/lee", "/home/lee/Kestrel-Book"},
        {std::nullopt, empty, "", std::nullopt},
    };
    for (const auto& [asked, current, home, chosen] : cases) {
        SCOPED_TRACE(asked.value_or("(none)").string() + " in " + current.string() + ", home " + home);
        if (!chosen) {
            EXPECT_THROW(ChooseBookFolder(asked, current, home), BookFolderError);
            continue;
        }
        EXPECT_EQ(ChooseBookFolder(asked, current, home), *chosen);
    }
}

TEST(BookFolderTest, ANewBookGetsTheShippedHelpFileAndKeepsItsOwn) {
    test::TempDir dir;
    const fs::path shipped = ShippedHelpFile(dir.path() / "bin");
    ASSERT_EQ(shipped, dir.path() / "share/kestrel-book/KB_HLP.RTF");
    fs::create_directories(shipped.parent_path());
    std::ofstream(shipped) << "shipped";
    const fs::path book = dir.path() / "a/new/book";
    CreateBookFolder(book);
    for (int start = 0; start < 2; ++start) {
        CopyHelpFileIn(book, shipped);
        std::ifstream help(book / "KB_HLP.RTF");
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(help), {}), start == 0 ? "shipped" : "edited");
        std::ofstream(book / "KB_HLP.RTF") << "edited";
    }
    EXPECT_THROW(CreateBookFolder(shipped), BookFolderError);
}

}  // namespace
}  // namespace kb
