#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

#include "document/appsettings.h"
#include "mainwindow/patternsdock.h"
#include "mainwindow/patternthumbnails.h"
#include "qtbenchmarkmain.h"

namespace
{

constexpr int FileCount = 1000;

// A folder of FileCount RLE files, soups of 8 x 8 to 256 x 256 cells at a
// third alive, made once for every benchmark.
const QTemporaryDir &folder()
{
    static const auto made = [] {
        auto dir = std::make_unique<QTemporaryDir>();
        std::mt19937 random(36);
        for (int file = 0; file < FileCount; ++file) {
            const int side = 8 + static_cast<int>(random() % 249);
            std::string text = "#N Soup " + std::to_string(file) + "\nx = " + std::to_string(side)
                + ", y = " + std::to_string(side) + "\n";
            for (int y = 0; y < side; ++y) {
                for (int x = 0; x < side; ++x)
                    text += random() % 3 == 0 ? 'o' : 'b';
                text += y + 1 < side ? "$\n" : "!\n";
            }
            QFile out(dir->filePath(QStringLiteral("soup%1.rle").arg(file, 4, 10, QLatin1Char('0'))));
            if (!out.open(QIODevice::WriteOnly) || out.write(text.data(), static_cast<qint64>(text.size())) < 0)
                qFatal("cannot write %s", qPrintable(out.fileName()));
        }
        return dir;
    }();
    return *made;
}

// Every file's thumbnail, from an empty cache, until the last is drawn.
void BM_ThumbnailsOfAFolder(benchmark::State &state)
{
    const QStringList names = QDir(folder().path()).entryList(QDir::Files);
    for (auto _ : state) {
        PatternThumbnails thumbnails;
        for (const QString &name : names)
            thumbnails.thumbnail(QDir(folder().path()).filePath(name), PatternsDock::IconSide);
        while (thumbnails.pending() > 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    state.SetItemsProcessed(state.iterations() * names.size());
}
BENCHMARK(BM_ThumbnailsOfAFolder)->Unit(benchmark::kMillisecond)->UseRealTime();

// The dock scrolled a page at a time through the folder, each page painted
// at once, while the thumbnails of a fresh cache are drawn behind it: the
// time a page takes, and the longest, which is what a user feels.
void BM_DockScrolling(benchmark::State &state)
{
    const QTemporaryDir settingsFolder;
    AppSettings settings(settingsFolder.filePath(QStringLiteral("settings.ini")));
    QMenu examples;
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto dock = std::make_unique<PatternsDock>(&settings, &examples, nullptr, nullptr);
        dock->resize(300, 700);
        dock->show();
        dock->setFolder(folder().path());
        QTreeView *tree = dock->tree();
        while (tree->model()->rowCount(tree->rootIndex()) < FileCount)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QScrollBar *bar = tree->verticalScrollBar();
        state.ResumeTiming();
        for (int value = 0; value <= bar->maximum(); value += bar->pageStep()) {
            QElapsedTimer page;
            page.start();
            bar->setValue(value);
            QCoreApplication::processEvents();
            tree->viewport()->repaint();
            longest = std::max(longest, page.nsecsElapsed() / 1e6);
        }
    }
    state.counters["longest_page_ms"] = longest;
}
BENCHMARK(BM_DockScrolling)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv) { return runWidgetBenchmarks(argc, argv); }
