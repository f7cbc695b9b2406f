#include "app/book_folder.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

namespace kb {
namespace {

namespace fs = std::filesystem;

TEST(BookFolderTest, TheAskedFolderThenTheCurrentBookThenTheHomeBook) {
    test::TempDir withBook;
    std::ofstream(withBook.file("KB_Loan.mdb")) << "";
    const fs::path empty = withBook.path() / "empty";
    // The command line, the working directory, the home folder and the folder chosen (nullopt: refused).
    const std::tuple<std::vector<std::string>, fs::path, std::string, std::optional<fs::path>> cases[] = {
        {{}, withBook.path(), "/home/lee", withBook.path()},
        {{}, empty, "/home/lee", "/home/lee/Kestrel-Book"},
        {{}, empty, "", std::nullopt},
        {{"--book", "/srv/acme"}, withBook.path(), "/home/lee", "/srv/acme"},
        {{"--book=acme"}, empty, "", empty / "acme"},
        {{"--book"}, withBook.path(), "/home/lee", std::nullopt},
        {{"--book="}, withBook.path(), "/home/lee", std::nullopt},
        {{"--bok", "acme"}, withBook.path(), "/home/lee", std::nullopt},
        {{"--copy-book-from-server", "--book", "acme"}, empty, "", empty / "acme"},
    };
    for (const auto& [arguments, current, home, chosen] : cases) {
        SCOPED_TRACE(testing::PrintToString(arguments) + " in " + current.string() + ", home " + home);
        const auto choose = [&] { return ChooseBookFolder(ParseStartArguments(arguments).book, current, home); };
        if (chosen) EXPECT_EQ(choose(), *chosen);
        else EXPECT_THROW(choose(), BookFolderError);
    }
    EXPECT_EQ(ParseStartArguments({"--copy-book-to-server"}).copy, CopyDirection::ToServer);
}

TEST(BookFolderTest, ANewBookGetsTheShippedHelpFileAndKeepsItsOwn) {
    test::TempDir dir;
    const fs::path shipped = ShippedHelpFile(dir.path() / "bin");
    ASSERT_EQ(shipped, dir.path() / "share/kestrel-book/KB_HLP.RTF");
    fs::create_directories(shipped.parent_path());
    std::ofstream(shipped) << "shipped";
    const fs::path book = dir.path() / "a/new/book";
    CreateBookFolder(book);
    for (const std::string expected : {"shipped", "edited"}) {
        CopyHelpFileIn(book, shipped);
        EXPECT_EQ(test::FileText(book / "KB_HLP.RTF"), expected);
        std::ofstream(book / "KB_HLP.RTF") << "edited";
    }
    EXPECT_THROW(CreateBookFolder(shipped), BookFolderError);
}

}  // namespace
}  // namespace kb
