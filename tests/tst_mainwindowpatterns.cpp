#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <functional>
#include <optional>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "mainwindow/mainwindow.h"
#include "mainwindowprobe.h"
#include "mainwindowtestcase.h"
#include "modalrunner.h"
#include "model/engine/gamefield.h"

namespace
{

constexpr int N = GameField::FieldSize;
using CellGrid = MainWindowProbe::CellGrid;

// A glider in a 3 x 3 box, whose top-left cell lands on row and column 58.
const QByteArray Glider = "!Name: Glider\n.O.\n..O\nOOO\n";

CellGrid centredGlider()
{
    CellGrid cells(N * N, 0);
    for (const auto &cell : { std::pair { 0, 1 }, { 1, 2 }, { 2, 0 }, { 2, 1 }, { 2, 2 } })
        cells[(58 + cell.first) * N + 58 + cell.second] = 1;
    return cells;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A window that reads a pipe after all would wait for a writer for ever. From
// a second on, this opens the pipe's writing end and closes it again, so that
// the read ends at once with nothing and the test fails instead of hanging.
class PipeDeadline
{
public:
    explicit PipeDeadline(const QByteArray &path)
        : watcher([this, path] {
            for (int waited = 0; !done; waited += 10) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                const int end = waited >= 1000 ? ::open(path.constData(), O_WRONLY | O_NONBLOCK) : -1;
                if (end >= 0) {
                    ::close(end);
                    unblocked = true;
                }
            }
        })
    {
    }
    ~PipeDeadline()
    {
        done = true;
        watcher.join();
    }

    std::atomic<bool> unblocked { false }; // the window was waiting on the pipe

private:
    std::atomic<bool> done { false };
    std::thread watcher;
};

} // namespace

// Patterns in and out of the window: the file dialogs, the messages on a bad
// file or a failed save, drag and drop, and the guards while running.
class TestMainWindowPatterns : public MainWindowTestCase
{
    Q_OBJECT

private slots:
    void initTestCase();

    void openThroughDialogReplacesFieldAndSavedState();
    void generationComesFromTheFile();
    void badFileChangesNothing_data();
    void badFileChangesNothing();
    void saveThenOpenGivesSameField_data();
    void saveThenOpenGivesSameField();
    void savingKeepsTheNameAndComments();
    void addedExtensionAsksBeforeReplacing();
    void failedSaveIsReported();
    void droppedFileOpens();
    void fileActionsIgnoredWhileRunning();

private:
    // Presses `keys` on the window, picks the filter `filter` places down the
    // list, and types `path` into the file dialog that opens. Returns the
    // folder the dialog started in.
    QString chooseInDialog(const QKeySequence &keys, const QString &path, int filter = 0);
    // Calls `open`, which must bring up a message box; returns its title and text.
    QPair<QString, QString> messageFrom(const std::function<void()> &open);
    // A field that differs from its saved state, at generation 2.
    void prepareField();
    void dropOnWindow(const QStringList &paths, bool *accepted);

    QTemporaryDir folder;
};

void TestMainWindowPatterns::initTestCase()
{
    MainWindowTestCase::initTestCase();
    QVERIFY(folder.isValid());
}

QString TestMainWindowPatterns::chooseInDialog(const QKeySequence &keys, const QString &path, int filter)
{
    QString startFolder;
    // Shortcuts reach only the active window, which a closed dialog may have left inactive.
    QApplication::setActiveWindow(window);
    const ModalRunner::Outcome outcome = ModalRunner::run([&] { QTest::keySequence(window, keys); },
        [&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            auto *name = modal->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            if (!dialog || !name)
                return;
            startFolder = dialog->directory().absolutePath();
            // Moving through the list as a user does, so that the dialog hears of the choice.
            auto *types = modal->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
            for (int i = 0; types && i < filter; ++i)
                QTest::keyClick(types, Qt::Key_Down);
            name->setText(path);
            QTest::keyClick(name, Qt::Key_Return);
        });
    if (!outcome.opened || outcome.forced)
        QTest::qFail("the file dialog did not open and close", __FILE__, __LINE__);
    return startFolder;
}

QPair<QString, QString> TestMainWindowPatterns::messageFrom(const std::function<void()> &open)
{
    // Watches for the box on its own, so that a file dialog before it can be
    // driven by chooseInDialog() meanwhile.
    QPair<QString, QString> message;
    bool seen = false;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        seen = true;
        message = { box->windowTitle(), box->text() };
        box->done(QMessageBox::Ok);
    });
    watcher.start(10);
    open();
    if (!seen)
        QTest::qFail("no message box opened", __FILE__, __LINE__);
    return message;
}

void TestMainWindowPatterns::prepareField()
{
    QTest::mouseClick(probe.button("PushButton_Random"), Qt::LeftButton);
    QTest::mouseClick(probe.button("PushButton_SaveState"), Qt::LeftButton);
    QTest::mouseClick(probe.button("PushButton_Next"), Qt::LeftButton);
}

void TestMainWindowPatterns::dropOnWindow(const QStringList &paths, bool *accepted)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    const QPoint where(window->width() / 2, window->height() / 2);
    QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    *accepted = enter.isAccepted();
    if (!*accepted)
        return;
    QDropEvent drop(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
}

void TestMainWindowPatterns::openThroughDialogReplacesFieldAndSavedState()
{
    const QString path = folder.filePath(QStringLiteral("glider.cells"));
    QVERIFY(writeBytes(path, Glider));
    prepareField();

    chooseInDialog(QKeySequence::Open, path);
    QCOMPARE(probe.shownCells(), centredGlider());
    QCOMPARE(probe.generation(), 1);
    QCOMPARE(probe.cellCount(), 5);

    // The opened field is the saved state now: Stop comes back to it.
    QTest::mouseClick(probe.button("PushButton_Next"), Qt::LeftButton);
    QVERIFY(probe.shownCells() != centredGlider());
    QTest::mouseClick(probe.button("PushButton_Stop"), Qt::LeftButton);
    QCOMPARE(probe.shownCells(), centredGlider());

    // The next dialog starts where the last file came from.
    QCOMPARE(chooseInDialog(QKeySequence::Open, path), QDir(folder.path()).absolutePath());
}

// Files count the pattern as first drawn as generation 0, the window as 1.
void TestMainWindowPatterns::generationComesFromTheFile()
{
    const QString path = folder.filePath(QStringLiteral("later.rle"));
    QVERIFY(writeBytes(path, "#CXRLE Gen=9\nx = 3, y = 1\n3o!\n"));
    QVERIFY(window->openPatternFile(path));
    QCOMPARE(probe.generation(), 10);
    QTest::mouseClick(probe.button("PushButton_Next"), Qt::LeftButton);
    QTest::mouseClick(probe.button("PushButton_Stop"), Qt::LeftButton);
    QCOMPARE(probe.generation(), 10);
}

void TestMainWindowPatterns::badFileChangesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // null: no file is written
    QTest::addColumn<QString>("reason");

    QTest::newRow("missing") << "missing.rle" << QByteArray() << "No such file";
    QTest::newRow("folder") << "." << QByteArray() << "folder";
    // Sparse: larger than any pattern file is read, at no cost.
    QTest::newRow("over 256 MiB") << "huge.rle" << QByteArray() << "256 MiB";
    QTest::newRow("not a pattern") << "notes.txt" << QByteArray("hello\n") << "not a pattern file";
    // Reading a pipe would wait for a writer for ever.
    QTest::newRow("pipe") << "pipe.rle" << QByteArray() << "not an ordinary file";
}

void TestMainWindowPatterns::badFileChangesNothing()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);

    const QString path = name == QLatin1String(".") ? folder.path() : folder.filePath(name);
    if (!bytes.isNull())
        QVERIFY(writeBytes(path, bytes));
    if (name == QLatin1String("huge.rle"))
        QVERIFY(writeBytes(path, QByteArray("")) && QFile::resize(path, (qint64(256) << 20) + 1));
    std::optional<PipeDeadline> deadline;
    if (name == QLatin1String("pipe.rle")) {
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0 || errno == EEXIST);
        deadline.emplace(QFile::encodeName(path));
    }
    prepareField();
    const CellGrid before = probe.shownCells();
    const int count = probe.cellCount();

    const auto [title, text] = messageFrom([&] { window->openPatternFile(path); });
    QVERIFY2(!deadline || !deadline->unblocked, "the window waited on the pipe");
    QCOMPARE(title, QStringLiteral("Open pattern"));
    QVERIFY2(text.contains(QDir::toNativeSeparators(path)), qPrintable(text));
    QVERIFY2(text.contains(reason, Qt::CaseInsensitive), qPrintable(text));

    QCOMPARE(probe.shownCells(), before);
    QCOMPARE(probe.generation(), 2);
    QCOMPARE(probe.cellCount(), count);
    // The saved state is the one from before, not the refused file.
    QTest::mouseClick(probe.button("PushButton_Stop"), Qt::LeftButton);
    QVERIFY(probe.shownCells() != before);
    QCOMPARE(probe.generation(), 1);
}

void TestMainWindowPatterns::saveThenOpenGivesSameField_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("filter"); // picked in the dialog: 0 RLE, 1 plaintext, 2 Life 1.06
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("firstLine");

    // Only the box around the live cells, and where it was.
    const QByteArray rle("#C Generation 2\n#CXRLE Pos=");
    QTest::newRow("RLE") << "field.rle" << 0 << "field.rle" << rle;
    // Plaintext has no place for a rule but a comment that this program reads back.
    QTest::newRow("plaintext") << "field.cells" << 0 << "field.cells" << QByteArray("!Name: field\n!Rule: B36/S23");
    // Life 1.06 has no place for a rule at all. A format's extension decides.
    QTest::newRow("Life 1.06") << "field.LIFE" << 0 << "field.LIFE" << QByteArray("#Life 1.06\n");
    QTest::newRow("no extension") << "plain" << 0 << "plain.rle" << rle;
    QTest::newRow("none, plaintext picked") << "plain" << 1 << "plain.cells" << QByteArray("!Name: plain\n");
    QTest::newRow("other, Life 1.06 picked") << "f.txt" << 2 << "f.txt.lif" << QByteArray("#Life 1.06\n");
}

void TestMainWindowPatterns::saveThenOpenGivesSameField()
{
    QFETCH(QString, typed);
    QFETCH(int, filter);
    QFETCH(QString, written);
    QFETCH(QByteArray, firstLine);

    auto *rule = probe.find<QComboBox>("ComboBox_Rule");
    rule->setCurrentIndex(rule->findData(QStringLiteral("B36/S23")));
    rule->activated(rule->currentIndex());
    prepareField();
    const CellGrid saved = probe.shownCells();
    chooseInDialog(QKeySequence::Save, folder.filePath(typed), filter);
    const QByteArray bytes = readFile(folder.filePath(written));
    QCOMPARE(bytes.left(firstLine.size()), firstLine);

    QTest::mouseClick(probe.button("PushButton_Clear"), Qt::LeftButton);
    rule->setCurrentIndex(0);
    rule->activated(0);
    QVERIFY(window->openPatternFile(folder.filePath(written)));
    QCOMPARE(probe.shownCells(), saved);
    QCOMPARE(rule->currentData().toString(), firstLine.startsWith("#Life") ? "B3/S23" : "B36/S23");
}

void TestMainWindowPatterns::savingKeepsTheNameAndComments()
{
    const auto saveAs = [this](const QString &name) {
        chooseInDialog(QKeySequence::Save, folder.filePath(name));
        return readFile(folder.filePath(name));
    };
    QVERIFY(writeBytes(folder.filePath("boat.rle"), "#N Boat\n#C by hand\nx = 2, y = 1\n2o!\n"));
    QVERIFY(window->openPatternFile(folder.filePath("boat.rle")));
    QTest::mouseClick(probe.button("PushButton_Next"), Qt::LeftButton);
    QVERIFY(saveAs("kept.cells").startsWith("!Name: Boat\n! by hand\n"));
    // A new field is no longer the file's; undone, it is again.
    QTest::mouseClick(probe.button("PushButton_Random"), Qt::LeftButton);
    QVERIFY(saveAs("random.rle").startsWith("#C Generation 1\n"));
    QApplication::setActiveWindow(window);
    QTest::keySequence(window, QKeySequence::Undo);
    QVERIFY(saveAs("again.rle").startsWith("#N Boat\n#C by hand\n#C Generation 2\n"));
}

void TestMainWindowPatterns::addedExtensionAsksBeforeReplacing()
{
    QVERIFY(writeBytes(folder.filePath("kept.txt.rle"), "kept\n"));
    const auto [title, text] = messageFrom([&] { chooseInDialog(QKeySequence::Save, folder.filePath("kept.txt")); });
    QVERIFY2(title == "Save pattern" && text.contains("kept.txt.rle"), qPrintable(text));
    QCOMPARE(readFile(folder.filePath("kept.txt.rle")), QByteArray("kept\n"));
}

void TestMainWindowPatterns::failedSaveIsReported()
{
    // A file stands where the folder should be: the save cannot even begin.
    QVERIFY(writeBytes(folder.filePath(QStringLiteral("plain-file")), "kept\n"));
    const QString path = folder.filePath(QStringLiteral("plain-file/field.rle"));

    const auto [title, text] = messageFrom([&] { chooseInDialog(QKeySequence::Save, path); });
    QCOMPARE(title, QStringLiteral("Save pattern"));
    QVERIFY2(text.contains(QDir::toNativeSeparators(path)), qPrintable(text));
    QVERIFY(!QFileInfo(path).exists());
    QCOMPARE(readFile(folder.filePath(QStringLiteral("plain-file"))), QByteArray("kept\n"));
}

void TestMainWindowPatterns::droppedFileOpens()
{
    const QString path = folder.filePath(QStringLiteral("dropped.cells"));
    QVERIFY(writeBytes(path, Glider));
    bool accepted = true;
    // Which of two files was meant is anyone's guess.
    dropOnWindow({ path, path }, &accepted);
    QVERIFY(!accepted);
    dropOnWindow({ path }, &accepted);
    QVERIFY(accepted);
    QTRY_COMPARE(probe.shownCells(), centredGlider());
    QCOMPARE(probe.cellCount(), 5);
}

void TestMainWindowPatterns::fileActionsIgnoredWhileRunning()
{
    const QString path = folder.filePath(QStringLiteral("running.cells"));
    QVERIFY(writeBytes(path, Glider));
    QTest::mouseClick(probe.button("PushButton_Random"), Qt::LeftButton);
    QTest::mouseClick(probe.button("PushButton_Play"), Qt::LeftButton);
    QVERIFY(!probe.find<QAction>("Action_File_OpenPattern")->isEnabled());
    QVERIFY(!probe.find<QAction>("Action_File_SavePattern")->isEnabled());

    // Neither the shortcuts, nor a drop, nor a direct call open anything.
    QTest::keySequence(window, QKeySequence::Open);
    QTest::keySequence(window, QKeySequence::Save);
    bool accepted = true;
    dropOnWindow({ path }, &accepted);
    QVERIFY(!accepted);
    QVERIFY(!window->openPatternFile(path));
    QTest::qWait(50);
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(probe.shownCells() != centredGlider());

    QTest::mouseClick(probe.button("PushButton_Pause"), Qt::LeftButton);
    QVERIFY(probe.find<QAction>("Action_File_OpenPattern")->isEnabled());
    QVERIFY(probe.find<QAction>("Action_File_SavePattern")->isEnabled());
}

QTEST_MAIN(TestMainWindowPatterns)

#include "tst_mainwindowpatterns.moc"
