#include "view/statelegend.h"

#include <QColor>
#include <QCoreApplication>
#include <QEvent>
#include <QStringList>
#include <QVector>

#include <array>

#include "model/engine/rule.h"
#include "view/fieldimage.h"
#include "view/universeimage.h"

namespace
{

QString entry(QRgb color, const QString &text)
{
    return QStringLiteral("<span style=\"color:%1\">&#9632;</span>&nbsp;%2")
        .arg(QColor(color).name(), text.toHtmlEscaped());
}

QString translated(const char *text) { return QCoreApplication::translate("StateLegend", text); }

} // namespace

StateLegend::StateLegend(QWidget *view)
    : QLabel(view)
{
    setObjectName(QStringLiteral("StateLegend"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setTextFormat(Qt::RichText);
    setAutoFillBackground(true);
    setMargin(4);
    setFrameShape(QFrame::Box);
    hide();
    view->installEventFilter(this);
}

bool StateLegend::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize)
        place();
    return QLabel::eventFilter(watched, event);
}

void StateLegend::place() { move(parentWidget()->width() - width() - 8, 8); }

void StateLegend::showRule(const Rule &rule, int colorMode)
{
    const int states = rule.stateCount();
    if (states <= 2) {
        hide();
        return;
    }
    const QVector<QRgb> palette = FieldImage::colors(colorMode);
    const QRgb live = palette.size() > 3 ? palette[3] : palette[2];
    const std::array<QRgb, 256> colors = UniverseImage::stateColors(rule, live, palette[0]);
    QStringList lines;
    if (rule.isHistory()) {
        const char *const names[] = {
            QT_TRANSLATE_NOOP("StateLegend", "alive"),
            QT_TRANSLATE_NOOP("StateLegend", "has been alive"),
            QT_TRANSLATE_NOOP("StateLegend", "marked, alive"),
            QT_TRANSLATE_NOOP("StateLegend", "marked, dead"),
            QT_TRANSLATE_NOOP("StateLegend", "alive at the start"),
            QT_TRANSLATE_NOOP("StateLegend", "boundary"),
        };
        for (int state = 1; state < states; ++state)
            lines << entry(colors[static_cast<std::size_t>(state)], translated(names[state - 1]));
    } else {
        lines << entry(colors[1], translated(QT_TRANSLATE_NOOP("StateLegend", "alive")));
        // A long fade shows as its ends.
        const int shown = states <= 6 ? states : 3;
        for (int state = 2; state < shown; ++state)
            lines << entry(colors[static_cast<std::size_t>(state)],
                QCoreApplication::translate("StateLegend", "dying, state %1").arg(state));
        if (shown < states) {
            lines << QStringLiteral("&#8942;");
            lines << entry(colors[static_cast<std::size_t>(states - 1)],
                QCoreApplication::translate("StateLegend", "dying, state %1").arg(states - 1));
        }
    }
    setText(lines.join(QStringLiteral("<br>")));
    adjustSize();
    place();
    show();
    raise();
}
