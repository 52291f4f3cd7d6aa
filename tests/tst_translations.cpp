#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTranslator>

#include "document/translations.h"
#include "mainwindow/mainwindow.h"
#include "mainwindowprobe.h"
#include "toplevelguard.h"
#include "warningguard.h"

// The window in each language: the right translators for the locale (none for
// English), and every translated text fitting the fixed layout.
class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void windowSpeaksTheLocalesLanguageAndEveryTextFits_data();
    void windowSpeaksTheLocalesLanguageAndEveryTextFits();
};

void TestTranslations::initTestCase()
{
    WarningGuard::install();
    // The desktop's default font, which the layout was made for: without a
    // theme the headless platform uses a larger one, and even English is cut.
    QApplication::setFont(QFont(QStringLiteral("Sans Serif"), 9));
}

void TestTranslations::cleanup()
{
    // A translator leaves the application when it is deleted.
    qDeleteAll(QCoreApplication::instance()->findChildren<QTranslator *>());
    TopLevelGuard::closeLeftovers();
}

void TestTranslations::windowSpeaksTheLocalesLanguageAndEveryTextFits_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("clearButton");
    QTest::addColumn<QString>("dialogCancel");
    // The window's title, the accessible name of Clear field and the file dialog's Cancel.
    const auto row = [](const char *name, const QLocale &locale, bool installed, const QStringList &texts) {
        QTest::newRow(name) << locale << installed << texts[0] << texts[1] << texts[2];
    };
    const QStringList english = { "Conway's Game of Life", "Clear field", "Cancel" };
    row("English", QLocale(QLocale::English), false, english);
    row("C", QLocale::c(), false, english);
    row("Italian, untranslated", QLocale(QLocale::Italian), false, english);
    row("German", QLocale(QLocale::German), true, { "Conways Spiel des Lebens", "Feld leeren", "Abbrechen" });
    row("Austrian German", QLocale(QLocale::German, QLocale::Austria), true,
        { "Conways Spiel des Lebens", "Feld leeren", "Abbrechen" });
    row("French", QLocale(QLocale::French), true, { "Le jeu de la vie de Conway", "Vider le champ", "Annuler" });
    row("Spanish", QLocale(QLocale::Spanish, QLocale::Mexico), true,
        { "El juego de la vida de Conway", "Vaciar campo", "Cancelar" });
    row("Russian", QLocale(QLocale::Russian), true, { "Игра «Жизнь» Конвея", "Очистить поле", "Отмена" });
}

void TestTranslations::windowSpeaksTheLocalesLanguageAndEveryTextFits()
{
    QFETCH(QLocale, locale);
    QFETCH(bool, installed);
    QFETCH(QString, dialogCancel);
    QCOMPARE(Translations::install(locale), installed);
    QCOMPARE(QCoreApplication::instance()->findChildren<QTranslator *>().size(), installed ? 2 : 0);
    // The standard dialogs' buttons come from Qt's own translation.
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), dialogCancel);

    MainWindow window;
    MainWindowProbe probe(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Without the mark that stands for unsaved changes.
    QTEST(window.windowTitle().remove(QStringLiteral("[*]")), "title");
    QTEST(QAccessible::queryAccessibleInterface(probe.button("PushButton_Clear"))->text(QAccessible::Name),
        "clearButton");

    // The layout is fixed: a longer translation is cut, not given room.
    QStringList cut;
    for (QWidget *widget : window.findChildren<QWidget *>()) {
        auto *label = qobject_cast<QLabel *>(widget);
        auto *box = qobject_cast<QCheckBox *>(widget);
        if ((label || box) && widget->isVisibleTo(&window) && widget->sizeHint().width() > widget->width())
            cut << QStringLiteral("\"%1\" needs %2 pixels, has %3")
                       .arg(label ? label->text() : box->text())
                       .arg(widget->sizeHint().width())
                       .arg(widget->width());
    }
    // A combo box shows each of its entries whole, and so does its list.
    for (QComboBox *box : window.findChildren<QComboBox *>()) {
        QStyleOptionComboBox option;
        option.initFrom(box);
        const QStyle::SubControl field = QStyle::SC_ComboBoxEditField;
        const int shown = box->isEditable()
            ? box->lineEdit()->contentsRect().width() - 4
            : box->style()->subControlRect(QStyle::CC_ComboBox, &option, field, box).width() - 2;
        box->showPopup();
        QStyleOptionViewItem item;
        item.initFrom(box->view());
        for (int i = 0; i < box->count(); ++i) {
            const int listed = box->view()->itemDelegate()->sizeHint(item, box->model()->index(i, 0)).width();
            if (box->fontMetrics().horizontalAdvance(box->itemText(i)) > shown
                || listed > box->view()->viewport()->width())
                cut << QStringLiteral("\"%1\" in its box or list").arg(box->itemText(i));
        }
        box->hidePopup();
    }
    // The state's label wraps: its texts, with the longest numbers they show, in its lines.
    auto *state = probe.find<QLabel>("Label_State");
    const QString states[] = {
        QCoreApplication::translate("MainWindow", "State: died out at generation %1").arg(999999),
        QCoreApplication::translate("MainWindow", "State: still since generation %1").arg(999999),
        QCoreApplication::translate("MainWindow", "State: period %1 since generation %2").arg(120).arg(999999),
        QCoreApplication::translate("MainWindow", "State: not settled after %1 generations").arg(1000000),
        QCoreApplication::translate("MainWindow", "State: stable since generation %1, %2 spaceships escaping")
            .arg(999999)
            .arg(999),
    };
    for (const QString &shown : states) {
        if (state->fontMetrics().boundingRect(state->contentsRect(), Qt::TextWordWrap, shown).height()
            > state->contentsRect().height())
            cut << shown;
    }
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
