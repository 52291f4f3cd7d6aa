#include "view/viewport.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace
{

constexpr int CellSizes[] = { 32, 24, 16, 12, 8, 6, 4, 3, 2, 1 }; // pixels per cell, step by step
constexpr int CellSizeSteps = static_cast<int>(std::size(CellSizes));
constexpr int ClassicStep = 5; // 6 pixels per cell
constexpr int PixelLimit = 1 << 24; // pixels from a widget's corner that a far cell's are clamped to

using Word = std::uint64_t;

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t quotient = a / b;
    return a % b != 0 && (a < 0) != (b < 0) ? quotient - 1 : quotient;
}

std::int64_t floorMod(std::int64_t a, std::int64_t b) { return a - floorDiv(a, b) * b; }

// The first of the 2^shift cells of the aligned run that holds `cell`.
std::int64_t alignDown(std::int64_t cell, int shift) { return cell & -(std::int64_t(1) << shift); }

// cell + pixels * 2^shift, saturating at -Limit and Limit.
std::int64_t advanced(std::int64_t cell, std::int64_t pixels, int shift)
{
    std::int64_t moved = 0;
    if (__builtin_mul_overflow(pixels, std::int64_t(1) << shift, &moved) || __builtin_add_overflow(cell, moved, &moved))
        return pixels < 0 ? -Viewport::Limit : Viewport::Limit;
    return std::clamp(moved, -Viewport::Limit, Viewport::Limit);
}

std::int64_t shownCell(std::int64_t cell) { return std::clamp(cell, -Viewport::Limit, Viewport::Limit - 1); }

int clampedPixels(std::int64_t pixels)
{
    return static_cast<int>(std::clamp<std::int64_t>(pixels, -PixelLimit, PixelLimit));
}

} // namespace

Viewport::Viewport()
    : step(ClassicStep)
    , origin { -1, -1 }
    , phase(2, 2)
{
}

int Viewport::zoomStepCount() { return CellSizeSteps + MaxShift; }

int Viewport::cellSize() const { return step < CellSizeSteps ? CellSizes[step] : 1; }

int Viewport::shift() const { return step < CellSizeSteps ? 0 : step - CellSizeSteps + 1; }

CellPoint Viewport::cellAt(const QPoint &pixel) const
{
    const int size = cellSize();
    if (shift() == 0) {
        return { shownCell(advanced(origin.x, floorDiv(phase.x() + pixel.x(), size), 0)),
            shownCell(advanced(origin.y, floorDiv(phase.y() + pixel.y(), size), 0)) };
    }
    return { shownCell(advanced(origin.x, pixel.x(), shift())), shownCell(advanced(origin.y, pixel.y(), shift())) };
}

QRect Viewport::pixelsOf(const CellPoint &cell) const
{
    // Both within -Limit..Limit - 1, so that the differences cannot overflow.
    const std::int64_t x = shownCell(cell.x);
    const std::int64_t y = shownCell(cell.y);
    if (shift() == 0) {
        const int size = cellSize();
        return QRect(
            clampedPixels(x - origin.x) * size - phase.x(), clampedPixels(y - origin.y) * size - phase.y(), size, size);
    }
    const std::int64_t block = std::int64_t(1) << shift();
    return QRect(clampedPixels((alignDown(x, shift()) - origin.x) / block),
        clampedPixels((alignDown(y, shift()) - origin.y) / block), 1, 1);
}

CellRect Viewport::visibleCells(const QSize &size) const
{
    const int width = std::max(size.width(), 1);
    const int height = std::max(size.height(), 1);
    if (shift() == 0) {
        const CellPoint last = cellAt(QPoint(width - 1, height - 1));
        return { origin.x, origin.y, last.x, last.y };
    }
    return { origin.x, origin.y, advanced(origin.x, width, shift()) - 1, advanced(origin.y, height, shift()) - 1 };
}

void Viewport::zoomAround(const QPoint &pixel, int steps)
{
    const int target = std::clamp(step - steps, 0, zoomStepCount() - 1);
    if (target == step)
        return;
    const Anchor kept = anchor && anchor->pixel == pixel ? *anchor : anchorAt(pixel);
    step = target;
    hold(kept);
    anchor = kept;
}

void Viewport::panBy(const QPoint &pixels)
{
    anchor.reset();
    if (shift() == 0) {
        const int size = cellSize();
        const int left = phase.x() - pixels.x();
        const int top = phase.y() - pixels.y();
        origin = { advanced(origin.x, floorDiv(left, size), 0), advanced(origin.y, floorDiv(top, size), 0) };
        phase = QPoint(static_cast<int>(floorMod(left, size)), static_cast<int>(floorMod(top, size)));
    } else {
        origin = { advanced(origin.x, -pixels.x(), shift()), advanced(origin.y, -pixels.y(), shift()) };
    }
    clampOrigin();
}

void Viewport::fit(const CellRect &cells, const QRect &pixels)
{
    const CellPoint first { shownCell(cells.left), shownCell(cells.top) };
    const CellPoint last { shownCell(cells.right), shownCell(cells.bottom) };
    // Counts beyond PixelLimit fit no widget: capped, so that nothing overflows.
    const Word columns = std::min<Word>(Word(last.x) - Word(first.x) + 1, PixelLimit);
    const Word rows = std::min<Word>(Word(last.y) - Word(first.y) + 1, PixelLimit);
    int candidate = 0;
    Word usedX = 0;
    Word usedY = 0;
    for (;; ++candidate) {
        if (candidate < CellSizeSteps) {
            const Word size = Word(CellSizes[candidate]);
            const Word outline = size >= 4 ? 1 : 0;
            usedX = columns * size + outline;
            usedY = rows * size + outline;
        } else {
            const int blockShift = candidate - CellSizeSteps + 1;
            usedX = ((Word(alignDown(last.x, blockShift)) - Word(alignDown(first.x, blockShift))) >> blockShift) + 1;
            usedY = ((Word(alignDown(last.y, blockShift)) - Word(alignDown(first.y, blockShift))) >> blockShift) + 1;
        }
        const bool fits = usedX <= Word(std::max(pixels.width(), 0)) && usedY <= Word(std::max(pixels.height(), 0));
        if (fits || candidate == zoomStepCount() - 1)
            break;
    }
    const auto margin = [](int available, Word used) {
        return static_cast<int>((available - static_cast<std::int64_t>(std::min<Word>(used, PixelLimit))) / 2);
    };
    place(candidate, first,
        QPoint(pixels.left() + margin(pixels.width(), usedX), pixels.top() + margin(pixels.height(), usedY)));
}

void Viewport::place(int zoomStep, const CellPoint &cell, const QPoint &pixel)
{
    step = std::clamp(zoomStep, 0, zoomStepCount() - 1);
    hold({ pixel, { shownCell(cell.x), shownCell(cell.y) }, 0, 0 });
    anchor.reset();
}

void Viewport::ensureVisible(const CellPoint &cell, const QRect &pixels)
{
    const QRect shown = pixelsOf(cell);
    if (!shown.intersects(pixels)) {
        place(step, cell, pixels.center() - QPoint(shown.width() / 2, shown.height() / 2));
        return;
    }
    const auto into = [](int first, int last, int from, int to) {
        return first < from ? from - first : last > to ? to - last : 0;
    };
    const QPoint move(into(shown.left(), shown.right(), pixels.left(), pixels.right()),
        into(shown.top(), shown.bottom(), pixels.top(), pixels.bottom()));
    if (!move.isNull())
        panBy(move);
}

Viewport::Anchor Viewport::anchorAt(const QPoint &pixel) const
{
    const CellPoint cell = cellAt(pixel);
    if (shift() > 0) {
        // The middle of the pixel's cells.
        const std::int64_t half = std::int64_t(1) << (shift() - 1);
        return { pixel, { shownCell(cell.x + half), shownCell(cell.y + half) }, FractionUnits / 2, FractionUnits / 2 };
    }
    const int size = cellSize();
    const auto fraction = [size](int within) { return (2 * within + 1) * (FractionUnits / 2) / size; };
    return { pixel, cell, fraction(static_cast<int>(floorMod(phase.x() + pixel.x(), size))),
        fraction(static_cast<int>(floorMod(phase.y() + pixel.y(), size))) };
}

void Viewport::hold(const Anchor &kept)
{
    if (shift() == 0) {
        const int size = cellSize();
        const auto axis = [size](std::int64_t cell, int pixel, int fraction, int &cellPhase) {
            const int within = fraction * size / FractionUnits;
            cellPhase = static_cast<int>(floorMod(within - pixel, size));
            return advanced(cell, -(cellPhase + pixel - within) / size, 0);
        };
        int phaseX = 0;
        int phaseY = 0;
        origin = { axis(kept.cell.x, kept.pixel.x(), kept.fractionX, phaseX),
            axis(kept.cell.y, kept.pixel.y(), kept.fractionY, phaseY) };
        phase = QPoint(phaseX, phaseY);
    } else {
        origin = { advanced(alignDown(kept.cell.x, shift()), -kept.pixel.x(), shift()),
            advanced(alignDown(kept.cell.y, shift()), -kept.pixel.y(), shift()) };
        phase = QPoint();
    }
    clampOrigin();
}

void Viewport::clampOrigin()
{
    if (shift() == 0) {
        origin = { shownCell(origin.x), shownCell(origin.y) };
        return;
    }
    const std::int64_t highest = Limit - (std::int64_t(1) << shift());
    origin = { alignDown(std::clamp(origin.x, -Limit, highest), shift()),
        alignDown(std::clamp(origin.y, -Limit, highest), shift()) };
}
