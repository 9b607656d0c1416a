// Shared test entry: a QApplication on the offscreen platform, then the tests.

#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // QApplication sets the C locale from the environment; keep printf-style
    // formatting under test of the process locale as a user would have it.
    std::setlocale(LC_ALL, "");
    return RUN_ALL_TESTS();
}
