#ifndef TRANSLATIONS_H
#define TRANSLATIONS_H

class QLocale;

// Puts the window into the user's language. The texts in the source are
// English, so English and the C locale need no translator at all; any other
// language with a translation of its own also gets Qt's, so that the buttons
// of the standard dialogs speak the same language as the rest.
class Translations
{
public:
    // Installs the translators for `locale` on the running application
    // (a QCoreApplication must exist), which owns them. Returns whether the
    // program's own translation was installed: false when the first of the
    // locale's languages is English, for C and for a language without one,
    // and then nothing is installed.
    static bool install(const QLocale &locale);
};

#endif // TRANSLATIONS_H
