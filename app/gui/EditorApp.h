#pragma once

// Starts the editor: the entry window is the only top-level window.
int runEditor(int argc, char **argv);
