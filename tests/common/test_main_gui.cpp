// Test programs that draw (fonts, images, pages) but show no window.

#include "test_main.h"

#include <QGuiApplication>

int main(int argc, char **argv)
{
    return RunTests<QGuiApplication>(argc, argv);
}
