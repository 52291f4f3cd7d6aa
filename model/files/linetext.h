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

} // namespace LineText

#endif // LINETEXT_H
