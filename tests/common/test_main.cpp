// Test programs that show windows.

#include "test_main.h"

#include <QApplication>

int main(int argc, char **argv)
{
    return RunTests<QApplication>(argc, argv);
}
