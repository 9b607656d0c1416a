// Test programs of the non-GUI libraries.

#include "test_main.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    return RunTests<QCoreApplication>(argc, argv);
}
