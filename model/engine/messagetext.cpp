#include "model/engine/messagetext.h"

namespace
{

constexpr std::size_t QuoteLength = 40; // bytes of the text quoted at most

} // namespace

std::string MessageText::quoted(std::string_view text)
{
    std::size_t end = text.size();
    if (end > QuoteLength) {
        end = QuoteLength;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            --end;
    }
    std::string shown(text.substr(0, end));
    for (char &ch : shown) {
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F)
            ch = ' ';
    }
    return "\"" + shown + (end < text.size() ? "...\"" : "\"");
}
