#include "mainwindow/generationinput.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpressionValidator>

#include <algorithm>
#include <climits>

namespace
{

QString translated(const char *source) { return QCoreApplication::translate("MainWindow", source); }

} // namespace

std::optional<std::int64_t> GenerationInput::ask(QWidget *parent, std::int64_t first, std::int64_t last)
{
    const QString title = translated(QT_TRANSLATE_NOOP("MainWindow", "Go to generation"));
    const QString label
        = translated(QT_TRANSLATE_NOOP("MainWindow", "Generation (%1 to %2):"))
              .arg(QLocale().toString(static_cast<qlonglong>(first)), QLocale().toString(static_cast<qlonglong>(last)));
    if (last <= INT_MAX) {
        bool accepted = false;
        const int target = QInputDialog::getInt(parent, title, label, static_cast<int>(first), static_cast<int>(first),
            static_cast<int>(last), 1, &accepted);
        return accepted ? std::optional<std::int64_t>(target) : std::nullopt;
    }
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(label);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(QString::number(first));
    auto *line = dialog.findChild<QLineEdit *>();
    if (line) {
        line->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{1,19}")), line));
        line->setAccessibleName(translated(QT_TRANSLATE_NOOP("MainWindow", "Generation")));
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    // Past the range, the nearest end of it.
    bool ok = false;
    const qlonglong value = dialog.textValue().toLongLong(&ok);
    if (!ok)
        return value == 0 && dialog.textValue().isEmpty() ? std::nullopt : std::optional<std::int64_t>(last);
    return std::clamp<std::int64_t>(value, first, last);
}
