#pragma once

// "appointform render ..." and "appointform check ...": headless, no window.
bool isCommandLineInvocation(int argc, char **argv);
int runCommandLine(int argc, char **argv);
