#include "ui/ProgramStart.h"

int main(int argc, char **argv)
{
    return RunProgram(argc, argv, Edition::Station);
}
