#include "mainwindow/examplemenu.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QList>
#include <QMenu>
#include <QPair>
#include <QString>

#include <algorithm>

#include "document/patternfile.h"
#include "model/files/pattern.h"

void ExampleMenu::fill(QMenu *menu)
{
    QList<QPair<QString, QString>> examples; // name, resource path
    QDirIterator files(QStringLiteral(":/patterns"), QDir::Files);
    while (files.hasNext()) {
        const QString path = files.next();
        Pattern pattern;
        if (!PatternFile::read(path, pattern).isEmpty())
            continue;
        const QString name = QString::fromStdString(pattern.name);
        examples.append({ name.isEmpty() ? QFileInfo(path).completeBaseName() : name, path });
    }
    std::sort(examples.begin(), examples.end());
    for (const auto &example : qAsConst(examples)) {
        // "Day & Night" in a menu: the ampersand would mark a shortcut key.
        QAction *action = menu->addAction(QString(example.first).replace('&', QStringLiteral("&&")));
        action->setData(example.second);
    }
}
