#ifndef RULETEXT_H
#define RULETEXT_H

#include <QString>
#include <QtGlobal>

#include <string>

#include "model/engine/rule.h"

// The rule a test's data table spells; a misspelt rule is the test's own
// fault, so it ends the run rather than failing one row.
inline Rule ruleFrom(const QString &text)
{
    Rule rule;
    std::string error;
    if (!Rule::read(text.toStdString(), rule, error))
        qFatal("%s", error.c_str());
    return rule;
}

#endif // RULETEXT_H
