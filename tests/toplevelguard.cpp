#include "toplevelguard.h"

#include <QApplication>
#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QWidget>

namespace
{

// A window on its way out, deleted later or closing on a queued event, gets
// this long to go before it counts as left open.
constexpr int GraceMilliseconds = 500;

QString describe(const QWidget *widget)
{
    QString text = QString::fromLatin1(widget->metaObject()->className());
    if (!widget->objectName().isEmpty())
        text += QStringLiteral(" \"%1\"").arg(widget->objectName());
    return text + (widget->isVisible() ? QStringLiteral(" (shown)") : QStringLiteral(" (hidden)"));
}

} // namespace

void TopLevelGuard::closeLeftovers()
{
    if (QTest::qWaitFor([] { return QApplication::topLevelWidgets().isEmpty(); }, GraceMilliseconds))
        return;

    QStringList names;
    QList<QPointer<QWidget>> leftovers;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        names << describe(widget);
        leftovers << widget;
    }
    // A window takes the windows it parents with it; the guarded pointers skip those.
    for (const QPointer<QWidget> &widget : qAsConst(leftovers))
        delete widget.data();

    const QByteArray message = "left open: " + names.join(QStringLiteral(", ")).toLocal8Bit();
    QTest::qVerify(false, "QApplication::topLevelWidgets().isEmpty()", message.constData(), __FILE__, __LINE__);
}
