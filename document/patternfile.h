#ifndef PATTERNFILE_H
#define PATTERNFILE_H

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/engine/gamefield.h"
#include "model/files/patternreader.h"

class Pattern;
class Rule;
class Universe;

// Pattern files on disk, for the window and the command line alike: both read
// a file the same way and refuse the same files with the same words, and a
// file is only ever replaced whole.
class PatternFile
{
public:
    PatternFile() = delete;

    // Bytes of a file the window opens: no pattern that fits the classic
    // field, which is all it runs, needs more.
    static constexpr qint64 MaxFileSize = 1024 * 1024;
    // Bytes of any file, as the pattern reader takes them.
    static constexpr qint64 MaxAnyFileSize = qint64(256) << 20;

    // Reads the file at `path` (the program's own resources included, gzip
    // data inflated) into `pattern`, which must fit the classic field.
    // Returns why it could not be read, or an empty string; on a failure
    // `pattern` stays as it was.
    static QString read(const QString &path, Pattern &pattern);
    // The same for a pattern of any size, up to MaxAnyFileSize bytes, its
    // cells stored as `store` says.
    static QString readAny(
        const QString &path, Pattern &pattern, PatternReader::Store store = PatternReader::Store::Quadtree);
    // Writes `text` to `path`, gzip-compressed for a name ending in .gz,
    // through a temporary file that replaces the old one only once complete.
    // Returns why it failed, or an empty string.
    static QString write(const QString &path, const std::string &text);
    // The formats the field is saved in.
    enum class Format { Rle, Plaintext, Life106, Macrocell };
    // The format the extension of `path` names, in any letter case, before a
    // .gz: .rle RLE, .cells plaintext, .lif and .life Life 1.06, .mc
    // macrocell; none for any other or none.
    static std::optional<Format> formatOf(const QString &path);
    // The extension a name gets for `format`, without the dot.
    static QString extension(Format format);
    // The field in `format`. cells: a snapshot buffer as PatternWriter takes
    // it; generation 1 or more; name, comments and author: those of the file
    // the field came from (UTF-8), written where the format has a place for them.
    static std::string text(Format format, GameField::Cell *const *cells, int generation, const Rule &rule,
        const std::string &name, const std::vector<std::string> &comments, const std::string &author = std::string());
    // `universe` in `format` at `generation` (1..), into `text`; or false with
    // `error` set when the format cannot hold so many cells (plaintext and
    // Life 1.06 list them one by one).
    static bool text(Format format, const Universe &universe, std::int64_t generation, const std::string &name,
        const std::vector<std::string> &comments, std::string &text, QString &error,
        const std::string &author = std::string());
};

#endif // PATTERNFILE_H
