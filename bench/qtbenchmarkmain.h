#ifndef QTBENCHMARKMAIN_H
#define QTBENCHMARKMAIN_H

#include <QApplication>
#include <QtGlobal>

#include <benchmark/benchmark.h>

// The main() of a benchmark program that measures widgets: they need the
// application object before the first one is created, and the figures are for
// the headless platform unless the caller asks for another.
inline int runWidgetBenchmarks(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

#endif // QTBENCHMARKMAIN_H
