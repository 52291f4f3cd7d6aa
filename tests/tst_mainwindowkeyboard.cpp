#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "mainwindow/mainwindow.h"
#include "mainwindowtestcase.h"
#include "view/widgetpaintarea.h"

// The window without a mouse, as a screen reader sees it: every control named,
// the field drawn from the keyboard, and a focus that follows Play and Pause.
class TestMainWindowKeyboard : public MainWindowTestCase
{
    Q_OBJECT

private slots:
    void everyControlHasAName();
    void fieldCursorStaysOnTheFieldAndDraws();
    void spacePlaysAndPausesFromOneButton();

private:
    WidgetPaintArea *view() const { return probe.find<WidgetPaintArea>("WidgetPaintArea_GraphicScene"); }
    static QString accessible(QWidget *widget, QAccessible::Text text)
    {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
        return face ? face->text(text) : QString();
    }
};

void TestMainWindowKeyboard::everyControlHasAName()
{
    QList<QWidget *> controls;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        const bool control = qobject_cast<QAbstractButton *>(widget) || qobject_cast<QAbstractSpinBox *>(widget)
            || qobject_cast<QComboBox *>(widget) || qobject_cast<WidgetPaintArea *>(widget);
        if (control && widget->isVisibleTo(window))
            controls << widget;
    }
    QVERIFY(controls.size() >= 13);
    for (QWidget *control : controls)
        QVERIFY2(!accessible(control, QAccessible::Name).isEmpty(), qPrintable(control->objectName()));
    QCOMPARE(accessible(probe.button("PushButton_Edit"), QAccessible::Name), QStringLiteral("Edit field"));
    QCOMPARE(accessible(view(), QAccessible::Name), QStringLiteral("Field"));
}

void TestMainWindowKeyboard::fieldCursorStaysOnTheFieldAndDraws()
{
    QApplication::setActiveWindow(window);
    view()->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(view()->hasFocus());
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(view(), Qt::Key_Left, Qt::ControlModifier);
        QTest::keyClick(view(), Qt::Key_Down, Qt::ControlModifier);
    }
    QTest::keyClick(view(), Qt::Key_Up);
    QTest::keyClick(view(), Qt::Key_Space);
    QCOMPARE(probe.cellCount(), 1);
    QCOMPARE(probe.shownCells()[(119 - 1) * GameField::FieldSize + 0], 1);
    QTRY_VERIFY2(
        accessible(view(), QAccessible::Description).contains(QStringLiteral("1 alive; cursor on row 119, column 1")),
        qPrintable(accessible(view(), QAccessible::Description)));
    QCOMPARE(probe.find<QAction>("Action_Edit_Undo")->text().remove('&'), QStringLiteral("Undo Draw"));

    // Nothing is drawn while the field runs; at one generation a second none passes meanwhile.
    probe.find<QSpinBox>("SpinBox_IPS")->setValue(1);
    QTest::keyClick(window, Qt::Key_F5);
    QVERIFY(probe.showsRunning());
    QTest::keyClick(view(), Qt::Key_Right);
    QTest::keyClick(view(), Qt::Key_Space);
    QTest::keyClick(window, Qt::Key_F6);
    QVERIFY(probe.showsIdle());
    QCOMPARE(probe.cellCount(), 1);
    QCOMPARE(probe.find<QAction>("Action_Edit_Undo")->text().remove('&'), QStringLiteral("Undo Draw"));
}

void TestMainWindowKeyboard::spacePlaysAndPausesFromOneButton()
{
    QApplication::setActiveWindow(window);
    probe.find<QSpinBox>("SpinBox_IPS")->setValue(1);
    probe.button("PushButton_Play")->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(probe.button("PushButton_Play")->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(probe.showsRunning());
    QCOMPARE(QApplication::focusWidget(), probe.button("PushButton_Pause"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(probe.showsIdle());
    QCOMPARE(QApplication::focusWidget(), probe.button("PushButton_Play"));
    QCOMPARE(probe.generation(), 1);
}

QTEST_MAIN(TestMainWindowKeyboard)
#include "tst_mainwindowkeyboard.moc"
