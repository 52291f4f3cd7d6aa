#ifndef LINETEXT_H
#define LINETEXT_H

#include <string_view>

// The readers of pattern files take a line apart with the same few tests: blanks are spaces, tabs and the
// carriage return that ends a line written on Windows.
namespace LineText
{

inline bool isBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r'; }

inline bool isDigit(char ch) { return ch >= '0' && ch <= '9'; }

inline std::string_view trim(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A comment as written after its mark ("#C", "!"): without the one blank that parts it from the mark, nor the
// blanks at its end, but with any indentation beyond that one blank.
inline std::string_view commentText(std::string_view afterMark)
{
    if (!afterMark.empty() && (afterMark.front() == ' ' || afterMark.front() == '\t'))
        afterMark.remove_prefix(1);
    while (!afterMark.empty() && isBlank(afterMark.back()))
        afterMark.remove_suffix(1);
    return afterMark;
}

} // namespace LineText

#endif // LINETEXT_H
