#ifndef THUMBNAILMODEL_H
#define THUMBNAILMODEL_H

#include <QHash>
#include <QIdentityProxyModel>
#include <QPersistentModelIndex>
#include <QString>

class PatternThumbnails;

// A list of pattern files as its source model gives them, with each file's
// thumbnail as its icon once drawn: the source gives each file's path as
// QFileSystemModel::FilePathRole, as QFileSystemModel itself does, and
// folders keep their own icons. Rows ask for their thumbnail only when shown.
class ThumbnailModel : public QIdentityProxyModel
{
    Q_OBJECT

public:
    // `thumbnails`, not owned, must outlive the model; thumbnails are `side` pixels a side.
    ThumbnailModel(PatternThumbnails *thumbnails, int side, QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role) const override;

private:
    void thumbnailReady(const QString &path, int side);

    PatternThumbnails *thumbnails; // not owned
    int side;
    mutable QHash<QString, QPersistentModelIndex> asked; // rows waiting for their thumbnail, by path
};

#endif // THUMBNAILMODEL_H
