#include "app/CommandLine.h"
#include "app/EditorArguments.h"
#include "app/EditorApp.h"
#include "foundation/SafeFile.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    ignoreFileSizeLimitSignal();
    if (isCommandLineInvocation(argc, argv))
        return runCommandLine(argc, argv);
    EditorArguments arguments;
    {
        // Help and version are answered before anything needs a display.
        QCoreApplication probe(argc, argv);
        arguments = parseEditorArguments(QCoreApplication::arguments());
    }
    if (arguments.exitNow)
        return arguments.exitCode;
    return runEditor(argc, argv, arguments.document);
}
