#ifndef TEXTANSWER_H
#define TEXTANSWER_H

#include "app/commandline.h"

// The answers the command line gives on a terminal: help, version, where
// patterns settle, a field some generations on, a picture or an animation.
// Apart from the parsing, which needs none of what these use, so that the
// parsing can be fuzzed on its own.
class TextAnswer
{
public:
    TextAnswer() = delete;

    // Answers a request that is not Mode::Window on standard output and
    // standard error. Returns the exit status: 0, 1 when a file could not be
    // read or written (or an export cannot be made), 2 for a command line that
    // cannot be used.
    static int answer(const CommandLine::Request &request);

private:
    static int settle(const CommandLine::Request &request);
    static int writeGenerations(const CommandLine::Request &request);
    static int writeExport(const CommandLine::Request &request);
};

#endif // TEXTANSWER_H
