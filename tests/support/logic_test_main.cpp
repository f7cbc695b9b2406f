// Entry of the logic test programs. The program runs with the C library's locale taken from the desktop (the
// QApplication sets it), so the logic is tested the same way: the suite run under a decimal-comma language shows
// whether any figure depends on it.
#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
