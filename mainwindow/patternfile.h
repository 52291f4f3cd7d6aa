#ifndef PATTERNFILE_H
#define PATTERNFILE_H

#include <QString>

#include <string>

class Pattern;

// Pattern files on disk, for the window and the command line alike: both read
// a file the same way and refuse the same files with the same words, and a
// file is only ever replaced whole.
class PatternFile
{
public:
    PatternFile() = delete;

    // Reads the file at `path` (the program's own resources included) into
    // `pattern`. Returns why it could not be read, or an empty string; on a
    // failure `pattern` stays as it was.
    static QString read(const QString &path, Pattern &pattern);
    // Writes `text` to `path` through a temporary file that replaces the old
    // one only once complete. Returns why it failed, or an empty string.
    static QString write(const QString &path, const std::string &text);
    // Whether `path` names plaintext (.cells) rather than RLE.
    static bool isPlaintext(const QString &path);
};

#endif // PATTERNFILE_H
