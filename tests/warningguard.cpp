#include "warningguard.h"

#include <QByteArray>
#include <QString>
#include <QTest>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace
{

QtMessageHandler previousHandler = nullptr;

// Harmless complaints of the headless platform plugin itself, allowed by exact text.
bool isAllowedPlatformMessage(const QString &message)
{
    return message == QLatin1String("This plugin does not support propagateSizeHints()")
        || message == QLatin1String("This plugin does not support raise()")
        || message == QLatin1String("This plugin does not support grabbing the keyboard");
}

void failOnWarning(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (previousHandler)
        previousHandler(type, context, message);

    if (type == QtDebugMsg || type == QtInfoMsg || isAllowedPlatformMessage(message))
        return;

    const QByteArray text = "Unexpected Qt message: " + message.toLocal8Bit();
    if (QTest::currentTestFunction()) {
        QTest::qFail(text.constData(), context.file ? context.file : __FILE__, context.file ? context.line : __LINE__);
        return;
    }
    // Outside a test function there is no test to fail: end the run instead.
    std::fprintf(stderr, "%s\n", text.constData());
    std::abort();
}

} // namespace

void WarningGuard::install()
{
    QtMessageHandler handler = qInstallMessageHandler(failOnWarning);
    if (handler != failOnWarning)
        previousHandler = handler;
}
