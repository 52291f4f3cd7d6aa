#include "mainwindow/censusdialog.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <string>

#include "document/document.h"
#include "model/analysis/celllist.h"
#include "model/analysis/stabilisation.h"
#include "view/universeimage.h"

namespace
{

// The library's names, as Census gives them, for the translations.
const char *const ObjectNames[] = {
    QT_TRANSLATE_NOOP("CensusDialog", "block"),
    QT_TRANSLATE_NOOP("CensusDialog", "beehive"),
    QT_TRANSLATE_NOOP("CensusDialog", "loaf"),
    QT_TRANSLATE_NOOP("CensusDialog", "boat"),
    QT_TRANSLATE_NOOP("CensusDialog", "ship"),
    QT_TRANSLATE_NOOP("CensusDialog", "tub"),
    QT_TRANSLATE_NOOP("CensusDialog", "pond"),
    QT_TRANSLATE_NOOP("CensusDialog", "barge"),
    QT_TRANSLATE_NOOP("CensusDialog", "long boat"),
    QT_TRANSLATE_NOOP("CensusDialog", "mango"),
    QT_TRANSLATE_NOOP("CensusDialog", "eater 1"),
    QT_TRANSLATE_NOOP("CensusDialog", "blinker"),
    QT_TRANSLATE_NOOP("CensusDialog", "toad"),
    QT_TRANSLATE_NOOP("CensusDialog", "beacon"),
    QT_TRANSLATE_NOOP("CensusDialog", "pulsar"),
    QT_TRANSLATE_NOOP("CensusDialog", "pentadecathlon"),
    QT_TRANSLATE_NOOP("CensusDialog", "glider"),
    QT_TRANSLATE_NOOP("CensusDialog", "lightweight spaceship"),
    QT_TRANSLATE_NOOP("CensusDialog", "middleweight spaceship"),
    QT_TRANSLATE_NOOP("CensusDialog", "heavyweight spaceship"),
};

// The name of one object of `entry`'s kind, in the user's language.
QString kindName(const CensusEntry &entry)
{
    const auto known = std::find_if(
        std::begin(ObjectNames), std::end(ObjectNames), [&entry](const char *name) { return entry.singular == name; });
    if (known != std::end(ObjectNames))
        return CensusDialog::tr(*known);
    const QString cells = QLocale().toString(static_cast<qulonglong>(entry.population));
    switch (entry.kind) {
    case ObjectKind::StillLife:
        return CensusDialog::tr("still life of %1 cells").arg(cells);
    case ObjectKind::Oscillator:
        return CensusDialog::tr("period %1 oscillator of %2 cells").arg(entry.period).arg(cells);
    case ObjectKind::Spaceship:
        break;
    }
    return CensusDialog::tr("period %1 spaceship of %2 cells").arg(entry.period).arg(cells);
}

} // namespace

CensusDialog::CensusDialog(const Document &document, QWidget *parent)
    : QDialog(parent)
    , document(document)
    , summary(new QLabel(this))
    , table(new QTableWidget(0, 2, this))
    , copyButton(new QPushButton(tr("&Copy"), this))
{
    setObjectName(QStringLiteral("CensusDialog"));
    setWindowTitle(tr("Census"));
    summary->setObjectName(QStringLiteral("Label_CensusSummary"));
    summary->setWordWrap(true);
    table->setObjectName(QStringLiteral("Table_Census"));
    table->setAccessibleName(tr("Objects left behind"));
    table->setHorizontalHeaderLabels({ tr("Count"), tr("Object") });
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setIconSize(QSize(PictureSize, PictureSize));
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(PictureSize + 6);
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    copyButton->setObjectName(QStringLiteral("PushButton_CensusCopy"));
    copyButton->setAccessibleName(tr("Copy the census"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(copyButton, QDialogButtonBox::ActionRole);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(table);
    layout->addWidget(buttons);
    // Room for ten kinds of object before the table scrolls.
    resize(380, 600);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(copyButton, &QPushButton::clicked, this, &CensusDialog::copy);
    connect(&document.stability(), &StabilityWatch::changed, this, &CensusDialog::refresh);
    refresh();
}

QString CensusDialog::text() const
{
    const Stabilisation::Result *found = document.stability().result();
    if (!found || found->outcome == Stabilisation::Outcome::Running)
        return QString();
    QStringList lines;
    for (const std::string &line : found->lines(StabilityWatch::GenerationLimit))
        lines << QString::fromStdString(line);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QPixmap CensusDialog::picture(const CensusEntry &entry, const Rule &rule)
{
    const std::vector<CellPoint> &cells = entry.cells;
    const CellRect box = cells.empty() ? CellRect {} : CellList::box(cells);
    const std::int64_t width = box.right + 1;
    const std::int64_t height = box.bottom + 1;
    // Objects are small, and a larger one is scaled down below.
    const int scale = static_cast<int>(std::clamp<std::int64_t>((PictureSize - 2) / std::max(width, height), 1, 8));
    QPixmap pixmap(static_cast<int>(std::min<std::int64_t>(width, 4096)) * scale + 2,
        static_cast<int>(std::min<std::int64_t>(height, 4096)) * scale + 2);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    const std::array<QRgb, 256> colours = UniverseImage::stateColors(rule, qRgb(0, 0, 0), qRgb(255, 255, 255));
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const std::uint8_t state = i < entry.states.size() ? entry.states[i] : 1;
        painter.fillRect(static_cast<int>(cells[i].x) * scale + 1, static_cast<int>(cells[i].y) * scale + 1, scale,
            scale, QColor(colours[state]));
    }
    painter.end();
    if (pixmap.width() > PictureSize || pixmap.height() > PictureSize)
        return pixmap.scaled(PictureSize, PictureSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return pixmap;
}

void CensusDialog::refresh()
{
    const Stabilisation::Result *found = document.stability().result();
    table->setRowCount(0);
    copyButton->setEnabled(!text().isEmpty());
    if (!found) {
        summary->setText(document.topology() != Topology::unbounded()
                ? tr("The census is taken in the unbounded plane: choose it under Simulation > Universe.")
                : document.rule().isHistory()
                ? tr("The census counts LifeHistory's live cells as Life's; it refuses boundary cells (state 6).")
                : tr("No census is taken of more than %1 live cells.")
                      .arg(QLocale().toString(static_cast<qulonglong>(StabilityWatch::cellLimit(document.rule())))));
        return;
    }
    switch (found->outcome) {
    case Stabilisation::Outcome::Running:
        summary->setText(tr("Not stable yet: it evolves still. The census follows the run."));
        return;
    case Stabilisation::Outcome::NotStable:
        summary->setText(tr("Not stable after %1 generations.")
                             .arg(QLocale().toString(static_cast<qlonglong>(StabilityWatch::GenerationLimit))));
        return;
    case Stabilisation::Outcome::DiedOut:
        summary->setText(tr("Dies out, lifespan %1.").arg(found->lifespan()));
        return;
    case Stabilisation::Outcome::Grows:
        if (showGrowth(*found->growth))
            return;
        break;
    case Stabilisation::Outcome::Stable:
        summary->setText((found->backgroundAlive ? tr("Lifespan %1, every cell alive but %2, period %3.")
                                                 : tr("Lifespan %1, %2 cells, period %3."))
                             .arg(found->lifespan())
                             .arg(QLocale().toString(static_cast<qulonglong>(found->population)))
                             .arg(found->period));
        break;
    }
    const bool gun = found->outcome == Stabilisation::Outcome::Grows;
    const std::vector<CensusEntry> &entries = gun ? found->growth->ships : found->census;
    table->setRowCount(static_cast<int>(entries.size()));
    for (int row = 0; row < table->rowCount(); ++row) {
        const CensusEntry &entry = entries[static_cast<std::size_t>(row)];
        auto *count = new QTableWidgetItem(QLocale().toString(static_cast<qulonglong>(entry.count)));
        count->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(row, 0, count);
        QString name = kindName(entry);
        name = entry.escaping ? tr("%1 (escaping)").arg(name) : name;
        if (gun)
            name = tr("%1 every %2 generations").arg(name).arg(found->growth->period);
        table->setItem(row, 1, new QTableWidgetItem(QIcon(picture(entry, document.rule())), name));
    }
}

bool CensusDialog::showGrowth(const Growth::Report &growth)
{
    const QString population = QLocale().toString(static_cast<qulonglong>(growth.population));
    const QString generations = QLocale().toString(static_cast<qlonglong>(growth.generations));
    switch (growth.kind) {
    case Growth::Kind::Gun:
        summary->setText(tr("A gun of period %1.").arg(growth.period));
        return false;
    case Growth::Kind::Puffer:
        summary->setText(tr("A puffer of period %1: it moves by (%2, %3) every %1 generations and leaves debris.")
                             .arg(growth.period)
                             .arg(growth.dx)
                             .arg(growth.dy));
        break;
    case Growth::Kind::Linear:
        summary->setText(tr("Grows linearly: %1 cells after %2 generations.").arg(population, generations));
        break;
    case Growth::Kind::Quadratic:
        summary->setText(tr("Grows quadratically: %1 cells after %2 generations.").arg(population, generations));
        break;
    case Growth::Kind::Faster:
        summary->setText(
            tr("Grows faster than quadratically: %1 cells after %2 generations.").arg(population, generations));
        break;
    }
    return true;
}

void CensusDialog::copy()
{
    if (const QString lines = text(); !lines.isEmpty())
        QGuiApplication::clipboard()->setText(lines);
}
