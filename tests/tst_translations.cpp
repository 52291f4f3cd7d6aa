#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFont>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTranslator>

#include "mainwindow/mainwindow.h"
#include "mainwindow/translations.h"
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
    void installsTheLocalesTranslators_data();
    void installsTheLocalesTranslators();
    void windowSpeaksTheLanguageAndEveryTextFits_data();
    void windowSpeaksTheLanguageAndEveryTextFits();
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

void TestTranslations::installsTheLocalesTranslators_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("fileMenu");
    QTest::addColumn<QString>("dialogCancel");
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates) << false << "&File"
                             << "Cancel";
    QTest::newRow("C") << QLocale::c() << false << "&File"
                       << "Cancel";
    QTest::newRow("Italian, without a translation") << QLocale(QLocale::Italian) << false << "&File"
                                                    << "Cancel";
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << true << "&Datei"
                            << "Abbrechen";
    QTest::newRow("Austrian German") << QLocale(QLocale::German, QLocale::Austria) << true << "&Datei"
                                     << "Abbrechen";
    QTest::newRow("French") << QLocale(QLocale::French, QLocale::France) << true << "&Fichier"
                            << "Annuler";
    QTest::newRow("Spanish") << QLocale(QLocale::Spanish, QLocale::Mexico) << true << "&Archivo"
                             << "Cancelar";
    QTest::newRow("Russian") << QLocale(QLocale::Russian, QLocale::Russia) << true << "&Файл"
                             << "Отмена";
}

void TestTranslations::installsTheLocalesTranslators()
{
    QFETCH(QLocale, locale);
    QFETCH(bool, installed);
    QFETCH(QString, fileMenu);
    QFETCH(QString, dialogCancel);
    QCOMPARE(Translations::install(locale), installed);
    QCOMPARE(QCoreApplication::instance()->findChildren<QTranslator *>().size(), installed ? 2 : 0);
    QCOMPARE(QCoreApplication::translate("MainWindow", "&File"), fileMenu);
    // The standard dialogs' buttons come from Qt's own translation.
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), dialogCancel);
}

void TestTranslations::windowSpeaksTheLanguageAndEveryTextFits_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("clearButton");
    QTest::addColumn<QString>("fieldDescription");
    QTest::newRow("English") << QLocale(QLocale::English) << "Conway's Game of Life"
                             << "Clear field"
                             << "120 by 120 cells, ";
    QTest::newRow("German") << QLocale(QLocale::German) << "Conways Spiel des Lebens"
                            << "Feld leeren"
                            << "120 mal 120 Zellen, ";
    QTest::newRow("French") << QLocale(QLocale::French) << "Le jeu de la vie de Conway"
                            << "Vider le champ"
                            << "120 sur 120 cellules, ";
    QTest::newRow("Spanish") << QLocale(QLocale::Spanish) << "El juego de la vida de Conway"
                             << "Vaciar campo"
                             << "120 por 120 células, ";
    QTest::newRow("Russian") << QLocale(QLocale::Russian) << "Игра «Жизнь» Конвея"
                             << "Очистить поле"
                             << "120 на 120 клеток, живых ";
}

void TestTranslations::windowSpeaksTheLanguageAndEveryTextFits()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, title);
    QFETCH(QString, clearButton);
    QFETCH(QString, fieldDescription);
    Translations::install(locale);
    MainWindow window;
    MainWindowProbe probe(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(window.windowTitle(), title);
    const auto name = [](QWidget *widget, QAccessible::Text text) {
        return QAccessible::queryAccessibleInterface(widget)->text(text);
    };
    QCOMPARE(name(probe.button("PushButton_Clear"), QAccessible::Name), clearButton);
    QVERIFY(name(probe.find<QWidget>("WidgetPaintArea_GraphicScene"), QAccessible::Description)
                .startsWith(fieldDescription));

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
    // The state's label wraps: its texts, with the longest numbers they show, in its lines.
    auto *state = probe.find<QLabel>("Label_State");
    const QString states[] = {
        QCoreApplication::translate("MainWindow", "State: died out at generation %1").arg(999999),
        QCoreApplication::translate("MainWindow", "State: still since generation %1").arg(999999),
        QCoreApplication::translate("MainWindow", "State: period %1 since generation %2").arg(120).arg(999999),
        QCoreApplication::translate("MainWindow", "State: not settled after %1 generations").arg(1000000),
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
