#include "document/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTranslator>

bool Translations::install(const QLocale &locale)
{
    // The first of the user's languages (LANGUAGE may list several) decides.
    const QStringList languages = locale.uiLanguages();
    if (locale.language() == QLocale::C || languages.isEmpty() || languages.first().startsWith(QLatin1String("en")))
        return false;
    auto *program = new QTranslator(QCoreApplication::instance());
    if (!program->load(locale, QStringLiteral("gameoflife"), QStringLiteral("_"), QStringLiteral(":/translations"))) {
        delete program;
        return false;
    }
    QCoreApplication::installTranslator(program);
    // Without Qt's own, the file dialog and the message boxes would answer in
    // English inside a translated window. Missing, it is only a lesser evil.
    auto *toolkit = new QTranslator(QCoreApplication::instance());
    if (toolkit->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(toolkit);
    else
        delete toolkit;
    return true;
}
