#include "mainwindow/patternsdock.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QScreen>
#include <QStandardItemModel>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

#include "document/appsettings.h"
#include "mainwindow/patternthumbnails.h"
#include "mainwindow/thumbnailmodel.h"

namespace
{

// The files the program reads, by their names' endings, gzip-compressed or not.
QStringList patternFilters()
{
    QStringList filters;
    for (const char *suffix : { "rle", "cells", "lif", "life", "mc" }) {
        filters << QStringLiteral("*.%1").arg(QLatin1String(suffix));
        filters << QStringLiteral("*.%1.gz").arg(QLatin1String(suffix));
    }
    return filters;
}

} // namespace

PatternsDock::PatternsDock(AppSettings *settings, const QMenu *examplesMenu, QAction *toggle, QMainWindow *window)
    : QDockWidget(tr("Patterns"), window)
    , settings(settings)
    , thumbnailStore(new PatternThumbnails(this))
    , files(new QFileSystemModel(this))
    , examples(new QStandardItemModel(this))
    , shownFiles(new ThumbnailModel(thumbnailStore, IconSide, this))
    , shownExamples(new ThumbnailModel(thumbnailStore, IconSide, this))
{
    setObjectName(QStringLiteral("PatternsDock"));
    files->setNameFilters(patternFilters());
    files->setNameFilterDisables(false);
    files->setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot);
    shownFiles->setSourceModel(files);
    for (const QAction *action : examplesMenu->actions()) {
        auto *item = new QStandardItem(action->text().replace(QStringLiteral("&&"), QStringLiteral("&")));
        item->setData(action->data(), QFileSystemModel::FilePathRole);
        item->setEditable(false);
        examples->appendRow(item);
    }
    shownExamples->setSourceModel(examples);

    auto *content = new QWidget(this);
    auto *layout = new QVBoxLayout(content);
    source = new QComboBox(content);
    source->setObjectName(QStringLiteral("ComboBox_PatternsSource"));
    fileTree = new QTreeView(content);
    fileTree->setObjectName(QStringLiteral("TreeView_Patterns"));
    fileTree->setIconSize(QSize(IconSide, IconSide));
    fileTree->setHeaderHidden(true);
    fileTree->setUniformRowHeights(true);
    fileTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    preview = new QLabel(content);
    preview->setObjectName(QStringLiteral("Label_PatternPreview"));
    preview->setAlignment(Qt::AlignCenter);
    preview->setMinimumSize(PreviewSide, PreviewSide);
    layout->addWidget(source);
    layout->addWidget(fileTree, 1);
    layout->addWidget(preview);
    setWidget(content);

    connect(source, QOverload<int>::of(&QComboBox::activated), this, &PatternsDock::sourceChosen);
    connect(fileTree, &QAbstractItemView::activated, this, &PatternsDock::activated);
    connect(thumbnailStore, &PatternThumbnails::ready, this, [this](const QString &, int side) {
        if (side == PreviewSide)
            showPreview();
    });
    setFolder(settings->patternsDockFolder());

    if (toggle) {
        connect(this, &QDockWidget::visibilityChanged, toggle, [toggle, window](bool visible) {
            if (!window || !window->isMinimized())
                toggle->setChecked(visible);
        });
    }
    if (!window)
        return;
    window->addDockWidget(Qt::RightDockWidgetArea, this);
    if (!(window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        const QRect room = window->screen()->availableGeometry();
        const int wider = std::min(room.width(),
            window->width() + sizeHint().width() + style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent));
        window->resize(wider, window->height());
        if (window->x() + wider > room.right() + 1)
            window->move(std::max(room.left(), room.right() + 1 - wider), window->y());
    }
}

QString PatternsDock::folder() const { return folderPath; }

void PatternsDock::setFolder(const QString &path)
{
    folderPath = path.isEmpty() ? QString() : QDir(path).absolutePath();
    if (!folderPath.isEmpty())
        settings->setPatternsDockFolder(folderPath);
    source->clear();
    source->addItem(tr("Built-in examples"));
    const QString remembered = settings->patternsDockFolder();
    if (!remembered.isEmpty())
        source->addItem(QDir::toNativeSeparators(remembered), remembered);
    source->addItem(tr("Choose folder…"));
    source->setCurrentIndex(folderPath.isEmpty() ? 0 : 1);

    fileTree->setRootIsDecorated(!folderPath.isEmpty());
    if (folderPath.isEmpty()) {
        fileTree->setModel(shownExamples);
    } else {
        fileTree->setModel(shownFiles);
        files->setRootPath(folderPath);
        files->sort(0);
        fileTree->setRootIndex(shownFiles->mapFromSource(files->index(folderPath)));
        for (int column = 1; column < files->columnCount(); ++column)
            fileTree->hideColumn(column);
    }
    connect(fileTree->selectionModel(), &QItemSelectionModel::currentChanged, this, &PatternsDock::showPreview,
        Qt::UniqueConnection);
    showPreview();
}

void PatternsDock::sourceChosen(int index)
{
    if (index == 0) {
        setFolder(QString());
    } else if (index == source->count() - 1) {
        const QString chosen = QFileDialog::getExistingDirectory(
            this, tr("Folder of patterns"), folderPath.isEmpty() ? QDir::homePath() : folderPath);
        setFolder(chosen.isEmpty() ? folderPath : chosen);
    } else {
        setFolder(source->itemData(index).toString());
    }
}

void PatternsDock::activated(const QModelIndex &index)
{
    const QString path = index.data(QFileSystemModel::FilePathRole).toString();
    if (!path.isEmpty() && !QFileInfo(path).isDir())
        emit openRequested(path);
}

void PatternsDock::showPreview()
{
    const QString path = fileTree->currentIndex().data(QFileSystemModel::FilePathRole).toString();
    const QPixmap picture
        = path.isEmpty() || QFileInfo(path).isDir() ? QPixmap() : thumbnailStore->thumbnail(path, PreviewSide);
    preview->setPixmap(picture);
    preview->setToolTip(QFileInfo(path).fileName());
}
