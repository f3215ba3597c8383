#include "app/CommandLine.h"
#include <cstring>
#include <cstdio>

bool isCommandLineInvocation(int argc, char **argv)
{
    return argc > 1 && (std::strcmp(argv[1], "render") == 0 || std::strcmp(argv[1], "check") == 0);
}

int runCommandLine(int, char **)
{
    std::fputs("appointform: the command line is not available yet\n", stderr);
    return 2;
}
