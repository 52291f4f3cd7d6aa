#ifndef FUZZREQUIRE_H
#define FUZZREQUIRE_H

#include <cstdio>
#include <cstdlib>

// Ends the run as a crash when a fuzz target's promise is broken, so that libFuzzer keeps the input.
inline void require(bool condition, const char *promise)
{
    if (condition)
        return;
    std::fprintf(stderr, "broken: %s\n", promise);
    std::abort();
}

#endif // FUZZREQUIRE_H
