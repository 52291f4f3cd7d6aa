#ifndef BENCHRULE_H
#define BENCHRULE_H

#include <cstdio>
#include <cstdlib>
#include <string>

#include "model/engine/rule.h"

// The rule a benchmark names. A misspelt one ends the run rather than have
// the benchmark measure Conway's rule under another name.
inline Rule benchRule(const char *text)
{
    Rule rule;
    std::string error;
    if (!Rule::read(text, rule, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::abort();
    }
    return rule;
}

#endif // BENCHRULE_H
