#ifndef UNIVERSEDIALOG_H
#define UNIVERSEDIALOG_H

#include <QDialog>

#include <cstdint>
#include <functional>

#include "model/engine/topology.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QRadioButton;
class QSpinBox;

// Asks which universe to use: the classic field, a bounded plane, torus
// (maybe shifted), Klein bottle, cross-surface or sphere of a given size, or
// the unbounded plane; whether the program starts in it;
// and how much memory the unbounded plane may take. Before it closes with
// OK it says how many live cells the chosen universe cannot hold, and asks
// whether to lose them.
class UniverseDialog : public QDialog
{
    Q_OBJECT

public:
    // Live cells that a universe of the given topology cannot hold.
    using LostCells = std::function<std::uint64_t(const Topology &)>;

    // `current`: the universe in use, chosen at first. `startHere`: whether
    // the program starts in the chosen universe, as remembered. `memory`: MiB
    // for the unbounded plane, 0 for the default `defaultMemory`. `parent`
    // owns the dialog.
    UniverseDialog(
        const Topology &current, bool startHere, int memory, int defaultMemory, LostCells lostCells, QWidget *parent);

    // The universe chosen; valid once accepted.
    Topology topology() const;
    bool startsHere() const;
    int memory() const; // MiB, AppSettings::MinMemory..MaxMemory

    void accept() override;

private:
    // Enables the sizes and joins the surface has, says how many cells would be lost.
    void update();

    QRadioButton *classic;
    QRadioButton *plane;
    QRadioButton *torus;
    QRadioButton *klein;
    QRadioButton *cross;
    QRadioButton *sphere;
    QRadioButton *unbounded;
    QSpinBox *width;
    QSpinBox *height; // not a sphere's, which is as high as wide
    QSpinBox *shift; // of a torus's edges
    QComboBox *edges; // the shifted edges of a torus, the twisted ones of a Klein bottle
    QLabel *note; // what the choice costs: cells lost, or a size too large
    QCheckBox *startHereBox;
    QSpinBox *memoryBox;
    QDialogButtonBox *buttons;
    LostCells lostCells;
};

#endif // UNIVERSEDIALOG_H
