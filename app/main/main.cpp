#include "app/CommandLine.h"
#include "app/gui/EditorApp.h"

int main(int argc, char **argv)
{
    if (isCommandLineInvocation(argc, argv))
        return runCommandLine(argc, argv);
    return runEditor(argc, argv);
}
