#include "mainwindow/universedialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <limits>
#include <utility>

#include "document/appsettings.h"

namespace
{

constexpr int DefaultSide = 500; // cells each way of a new bounded universe

} // namespace

UniverseDialog::UniverseDialog(
    const Topology &current, bool startHere, int memory, int defaultMemory, LostCells lostCells, QWidget *parent)
    : QDialog(parent)
    , classic(new QRadioButton(tr("&Classic field, 120 × 120"), this))
    , plane(new QRadioButton(tr("Bounded &plane"), this))
    , torus(new QRadioButton(tr("&Torus"), this))
    , klein(new QRadioButton(tr("&Klein bottle"), this))
    , cross(new QRadioButton(tr("Cr&oss-surface"), this))
    , sphere(new QRadioButton(tr("Sph&ere"), this))
    , unbounded(new QRadioButton(tr("&Unbounded plane"), this))
    , width(new QSpinBox(this))
    , height(new QSpinBox(this))
    , shift(new QSpinBox(this))
    , edges(new QComboBox(this))
    , note(new QLabel(this))
    , startHereBox(new QCheckBox(tr("&Start in this universe"), this))
    , memoryBox(new QSpinBox(this))
    , buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
    , lostCells(std::move(lostCells))
{
    setWindowTitle(tr("Universe"));
    auto *group = new QButtonGroup(this);
    for (QRadioButton *choice : { classic, plane, torus, klein, cross, sphere, unbounded })
        group->addButton(choice);
    classic->setChecked(current.kind() == Topology::Kind::Classic);
    plane->setChecked(current.kind() == Topology::Kind::Plane);
    torus->setChecked(current.kind() == Topology::Kind::Torus);
    klein->setChecked(current.kind() == Topology::Kind::KleinBottle);
    cross->setChecked(current.kind() == Topology::Kind::CrossSurface);
    sphere->setChecked(current.kind() == Topology::Kind::Sphere);
    unbounded->setChecked(current.kind() == Topology::Kind::Unbounded);
    const bool sized = (current.isBounded() || current.isStrip()) && current.kind() != Topology::Kind::Classic;
    for (QSpinBox *side : { width, height }) {
        // 0 makes a plane or a torus endless that way.
        side->setRange(0, static_cast<int>(Topology::MaxBoundedCells));
        side->setSuffix(tr(" cells"));
        side->setSpecialValueText(tr("0, endless"));
    }
    width->setValue(sized ? static_cast<int>(current.width()) : DefaultSide);
    height->setValue(sized ? static_cast<int>(current.height()) : DefaultSide);
    width->setAccessibleName(tr("Width"));
    height->setAccessibleName(tr("Height"));
    shift->setRange(-static_cast<int>(Topology::MaxBoundedCells), static_cast<int>(Topology::MaxBoundedCells));
    shift->setSuffix(tr(" cells"));
    shift->setValue(static_cast<int>(current.shift()));
    shift->setAccessibleName(tr("Shift"));
    edges->addItem(tr("Top and bottom"));
    edges->addItem(tr("Left and right"));
    edges->setCurrentIndex(current.joinedEdges() == Topology::Edges::LeftRight ? 1 : 0);
    note->setWordWrap(true);
    startHereBox->setChecked(startHere);
    startHereBox->setToolTip(tr("Otherwise the program starts in the classic field"));
    memoryBox->setRange(AppSettings::MinMemory, AppSettings::MaxMemory);
    memoryBox->setValue(memory > 0 ? memory : defaultMemory);
    memoryBox->setSuffix(tr(" MiB"));
    memoryBox->setAccessibleName(tr("Memory for the unbounded plane"));

    auto *layout = new QVBoxLayout(this);
    for (QRadioButton *choice : { classic, plane, torus, klein, cross, sphere, unbounded })
        layout->addWidget(choice);
    auto *sizes = new QFormLayout;
    sizes->addRow(tr("&Width:"), width);
    sizes->addRow(tr("&Height:"), height);
    sizes->addRow(tr("Twisted or shifted e&dges:"), edges);
    sizes->addRow(tr("Shi&ft:"), shift);
    sizes->addRow(tr("&Memory for the unbounded plane:"), memoryBox);
    layout->addLayout(sizes);
    layout->addWidget(note);
    layout->addWidget(startHereBox);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &UniverseDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &UniverseDialog::reject);
    connect(group, QOverload<QAbstractButton *>::of(&QButtonGroup::buttonClicked), this, [this] { update(); });
    for (QSpinBox *side : { width, height, shift })
        connect(side, QOverload<int>::of(&QSpinBox::valueChanged), this, [this] { update(); });
    connect(edges, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this] { update(); });
    update();
}

Topology UniverseDialog::topology() const
{
    if (plane->isChecked())
        return Topology::plane(width->value(), height->value());
    const Topology::Edges joined = edges->currentIndex() == 1 ? Topology::Edges::LeftRight : Topology::Edges::TopBottom;
    if (torus->isChecked())
        return Topology::shiftedTorus(width->value(), height->value(), joined, shift->value());
    if (klein->isChecked())
        return Topology::kleinBottle(width->value(), height->value(), joined);
    if (cross->isChecked())
        return Topology::crossSurface(width->value(), height->value());
    if (sphere->isChecked())
        return Topology::sphere(width->value());
    if (unbounded->isChecked())
        return Topology::unbounded();
    return Topology::classic();
}

bool UniverseDialog::startsHere() const { return startHereBox->isChecked(); }

int UniverseDialog::memory() const { return memoryBox->value(); }

void UniverseDialog::accept()
{
    const Topology chosen = topology();
    if (!chosen.isValid())
        return;
    const std::uint64_t lost = lostCells(chosen);
    const bool infinite = lost == std::numeric_limits<std::uint64_t>::max();
    if (lost > 0
        && QMessageBox::question(this, windowTitle(),
               infinite ? tr("Infinitely many live cells lie outside this universe and will be lost. Change the "
                             "universe?")
                        : tr("%1 live cells lie outside this universe and will be lost. Change the universe?")
                              .arg(QLocale().toString(static_cast<qulonglong>(lost))),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes)
        return;
    QDialog::accept();
}

void UniverseDialog::update()
{
    const bool sized = !classic->isChecked() && !unbounded->isChecked();
    width->setEnabled(sized);
    height->setEnabled(sized && !sphere->isChecked());
    edges->setEnabled(torus->isChecked() || klein->isChecked());
    shift->setEnabled(torus->isChecked());
    const Topology chosen = topology();
    QString text;
    if (!chosen.isValid() && (width->value() == 0 || (height->value() == 0 && !sphere->isChecked()))) {
        text = tr("A size of 0 makes an endless strip: a plane or a torus without a shift, at most %1 cells the other "
                  "way.")
                   .arg(QLocale().toString(static_cast<qlonglong>(Topology::MaxStripSide)));
    } else if (!chosen.isValid()) {
        text = tr("At most %1 cells: choose a smaller width or height.")
                   .arg(QLocale().toString(static_cast<qlonglong>(Topology::MaxBoundedCells)));
    } else if (const std::uint64_t lost = lostCells(chosen); lost == std::numeric_limits<std::uint64_t>::max()) {
        text = tr("Infinitely many live cells would be lost.");
    } else if (lost > 0) {
        text = tr("%1 live cells would be lost.").arg(QLocale().toString(static_cast<qulonglong>(lost)));
    }
    note->setText(text);
    note->setVisible(!text.isEmpty());
    buttons->button(QDialogButtonBox::Ok)->setEnabled(chosen.isValid());
}
