#ifndef MESSAGETEXT_H
#define MESSAGETEXT_H

#include <string>
#include <string_view>

// Text from outside (a file, a typed rule) as the model's messages quote it:
// every refusal stays one readable line, whatever the text holds.
class MessageText
{
public:
    MessageText() = delete;

    // `text` in double quotes, cut short after 40 bytes (on a character
    // boundary, with "..."), its control characters shown as spaces.
    static std::string quoted(std::string_view text);
};

#endif // MESSAGETEXT_H
