#include "mainwindow/thumbnailmodel.h"

#include <QFileSystemModel>
#include <QIcon>
#include <QPixmap>

#include "mainwindow/patternthumbnails.h"

ThumbnailModel::ThumbnailModel(PatternThumbnails *thumbnails, int side, QObject *parent)
    : QIdentityProxyModel(parent)
    , thumbnails(thumbnails)
    , side(side)
{
    connect(thumbnails, &PatternThumbnails::ready, this, &ThumbnailModel::thumbnailReady);
    connect(this, &QAbstractItemModel::modelReset, this, [this] { asked.clear(); });
}

QVariant ThumbnailModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DecorationRole || index.column() != 0 || hasChildren(index))
        return QIdentityProxyModel::data(index, role);
    const QString path = index.data(QFileSystemModel::FilePathRole).toString();
    if (path.isEmpty())
        return QIdentityProxyModel::data(index, role);
    const QPixmap thumbnail = thumbnails->thumbnail(path, side);
    if (thumbnail.isNull()) {
        asked.insert(path, index);
        return QIdentityProxyModel::data(index, role);
    }
    return QIcon(thumbnail);
}

void ThumbnailModel::thumbnailReady(const QString &path, int readySide)
{
    if (readySide != side)
        return;
    const QPersistentModelIndex index = asked.take(path);
    if (index.isValid())
        emit dataChanged(index, index, { Qt::DecorationRole });
}
