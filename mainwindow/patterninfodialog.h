#ifndef PATTERNINFODIALOG_H
#define PATTERNINFODIALOG_H

#include <QDialog>
#include <QString>

#include <string>
#include <vector>

class Document;
class QMainWindow;
class QLabel;
class QTextBrowser;

// The "Pattern information" window: what a pattern file says about its
// pattern (name, author, every comment line as written, web addresses made
// links that open in the browser) beside what the document knows of it now
// (rule, universe, size of the live cells' box, population, generation).
// Non-modal, it follows the document while shown and costs nothing hidden.
class PatternInfoDialog : public QDialog
{
    Q_OBJECT

public:
    // `document`, not owned, must outlive the dialog; `parent`, if any, owns it.
    explicit PatternInfoDialog(const Document &document, QWidget *parent = nullptr);

    // The main window's title for a pattern named `name` (UTF-8): "NAME –
    // Conway's Game of Life", or the program's name alone without one; with
    // the "[*]" that QWidget::setWindowModified() shows as changed.
    static QString windowTitle(const std::string &name);
    // Says in `window`'s status bar that the pattern just opened has notes to
    // read here, or clears what it said. The status bar is made when first
    // needed, the window growing by it so that what it showed keeps its room.
    static void offerNotes(QMainWindow *window, bool hasNotes);
    // Comment lines as HTML, each as written, on lines of their own, with
    // http, https and www addresses as links.
    static QString commentsHtml(const std::vector<std::string> &comments);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void refresh();

    const Document &document; // not owned
    QLabel *name; // a child, as are the widgets below
    QLabel *author;
    QLabel *rule;
    QLabel *universe;
    QLabel *size;
    QLabel *population;
    QLabel *generation;
    QTextBrowser *comments;
    QString shownComments; // the HTML `comments` shows
};

#endif // PATTERNINFODIALOG_H
