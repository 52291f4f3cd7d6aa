#ifndef WINDOWENTRY_H
#define WINDOWENTRY_H

#include "app/commandline.h"

// The window's start, in a module of its own that main() loads only to show
// the window, so that answers on the command line never map the widget and
// chart libraries. Creates the application, shows the window as `request`
// asks and runs it; returns its exit status. `argc` and `argv` are main()'s,
// and outlive the call.
extern "C" int gameoflifeWindowMain(int *argc, char **argv, const CommandLine::Request *request);

#endif // WINDOWENTRY_H
