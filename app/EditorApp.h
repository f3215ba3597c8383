#pragma once
#include <QString>

// Starts the editor: the entry window is the only top-level window. A
// document named on the command line is loaded as the load command does.
int runEditor(int argc, char **argv, const QString &document = QString());
