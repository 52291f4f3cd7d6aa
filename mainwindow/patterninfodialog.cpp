#include "mainwindow/patterninfodialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTextBrowser>

#include <limits>
#include <optional>

#include "document/document.h"

namespace
{

QString grouped(std::int64_t number) { return QLocale().toString(static_cast<qlonglong>(number)); }

QString universeText(const Topology &topology)
{
    const QString width = grouped(topology.width());
    const QString height = grouped(topology.height());
    const QString suffix = QString::fromStdString(topology.suffix());
    switch (topology.kind()) {
    case Topology::Kind::Classic:
        return PatternInfoDialog::tr("The classic field, %1 × %2 cells").arg(width, height);
    case Topology::Kind::Plane:
        if (topology.isStrip())
            return PatternInfoDialog::tr("An endless strip %1 cells across (%2)")
                .arg(grouped(topology.across()), suffix);
        return PatternInfoDialog::tr("A plane of %1 × %2 cells").arg(width, height);
    case Topology::Kind::Torus:
        if (topology.isStrip())
            return PatternInfoDialog::tr("An endless tube %1 cells around (%2)")
                .arg(grouped(topology.across()), suffix);
        if (topology.shift() != 0)
            return PatternInfoDialog::tr("A shifted torus of %1 × %2 cells (%3)").arg(width, height, suffix);
        return PatternInfoDialog::tr("A torus of %1 × %2 cells").arg(width, height);
    case Topology::Kind::KleinBottle:
        return PatternInfoDialog::tr("A Klein bottle of %1 × %2 cells (%3)").arg(width, height, suffix);
    case Topology::Kind::CrossSurface:
        return PatternInfoDialog::tr("A cross-surface of %1 × %2 cells").arg(width, height);
    case Topology::Kind::Sphere:
        return PatternInfoDialog::tr("A sphere of %1 × %2 cells").arg(width, height);
    case Topology::Kind::Unbounded:
        break;
    }
    return PatternInfoDialog::tr("The unbounded plane");
}

} // namespace

PatternInfoDialog::PatternInfoDialog(const Document &document, QWidget *parent)
    : QDialog(parent)
    , document(document)
{
    setObjectName(QStringLiteral("PatternInfoDialog"));
    setWindowTitle(tr("Pattern information"));
    auto *layout = new QFormLayout(this);
    const auto addLine = [this, layout](QLabel *&label, const QString &title, const char *objectName) {
        label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(objectName));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setWordWrap(true);
        layout->addRow(title, label);
    };
    addLine(name, tr("Name:"), "Label_Name");
    addLine(author, tr("Author:"), "Label_Author");
    comments = new QTextBrowser(this);
    comments->setObjectName(QStringLiteral("TextBrowser_Comments"));
    comments->setOpenExternalLinks(true);
    layout->addRow(tr("Comments:"), comments);
    addLine(rule, tr("Rule:"), "Label_Rule");
    addLine(universe, tr("Universe:"), "Label_Universe");
    addLine(size, tr("Size:"), "Label_Size");
    addLine(population, tr("Population:"), "Label_Population");
    addLine(generation, tr("Generation:"), "Label_Generation");
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    layout->addRow(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(480, 420);

    const auto follow = [this] {
        if (isVisible())
            refresh();
    };
    connect(&document, &Document::fieldChanged, this, follow);
    connect(&document, &Document::ruleChanged, this, follow);
    connect(&document, &Document::universeReplaced, this, follow);
}

QString PatternInfoDialog::windowTitle(const std::string &name)
{
    const QString program = QCoreApplication::translate("MainWindow", "Conway's Game of Life");
    if (name.empty())
        return QStringLiteral("%1[*]").arg(program);
    return QStringLiteral("%1[*] – %2").arg(QString::fromStdString(name), program);
}

void PatternInfoDialog::offerNotes(QMainWindow *window, bool hasNotes)
{
    QStatusBar *bar = window->findChild<QStatusBar *>();
    if (!bar && hasNotes) {
        bar = window->statusBar();
        if (!(window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
            window->resize(window->width(), window->height() + bar->sizeHint().height());
    }
    if (hasNotes)
        bar->showMessage(QCoreApplication::translate(
            "MainWindow", "This pattern comes with notes: File > Pattern information (Ctrl+I)"));
    else if (bar)
        bar->clearMessage();
}

QString PatternInfoDialog::commentsHtml(const std::vector<std::string> &lines)
{
    static const QRegularExpression address(
        QStringLiteral(R"((https?://|www\.)[^\s<>"]*[^\s<>".,;:!?)\]'])"), QRegularExpression::CaseInsensitiveOption);
    QString html;
    for (const std::string &line : lines) {
        const QString text = QString::fromStdString(line);
        QString linked;
        int done = 0;
        for (auto found = address.globalMatch(text); found.hasNext();) {
            const QRegularExpressionMatch match = found.next();
            const QString shown = match.captured();
            const QString target = shown.startsWith(QLatin1String("www."), Qt::CaseInsensitive)
                ? QStringLiteral("http://") + shown
                : shown;
            linked += text.mid(done, match.capturedStart() - done).toHtmlEscaped();
            linked += QStringLiteral("<a href=\"%1\">%2</a>").arg(target.toHtmlEscaped(), shown.toHtmlEscaped());
            done = match.capturedEnd();
        }
        linked += text.mid(done).toHtmlEscaped();
        html += QStringLiteral("<div style=\"white-space: pre-wrap\">%1</div>").arg(linked);
    }
    return html;
}

void PatternInfoDialog::showEvent(QShowEvent *event)
{
    refresh();
    QDialog::showEvent(event);
}

void PatternInfoDialog::refresh()
{
    const auto orNone
        = [](const std::string &text) { return text.empty() ? tr("(none)") : QString::fromStdString(text); };
    name->setText(orNone(document.name()));
    author->setText(orNone(document.author()));
    const QString html = commentsHtml(document.comments());
    // Set anew only when changed: setting it scrolls back to the top.
    if (html != shownComments) {
        comments->setHtml(html);
        shownComments = html;
    }
    const Rule &current = document.rule();
    const QString notation = QString::fromStdString(current.toString(document.topology()));
    const std::string ruleName = current.name();
    rule->setText(
        ruleName.empty() ? notation : QStringLiteral("%1 (%2)").arg(QString::fromStdString(ruleName), notation));
    universe->setText(universeText(document.topology()));
    const std::optional<CellRect> box = document.universe().boundingBox();
    size->setText(box ? tr("%1 × %2 cells")
                            .arg(QLocale().toString(static_cast<qulonglong>(box->right - box->left) + 1),
                                QLocale().toString(static_cast<qulonglong>(box->bottom - box->top) + 1))
                      : tr("No live cells"));
    population->setText(document.universe().backgroundAlive() ? tr("Infinitely many")
            : document.cellCount() == std::numeric_limits<std::uint64_t>::max()
            ? tr("Too many to count")
            : QLocale().toString(static_cast<qulonglong>(document.cellCount())));
    generation->setText(grouped(document.generation()));
}
