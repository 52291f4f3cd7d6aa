#ifndef GZIP_H
#define GZIP_H

#include <cstddef>
#include <string>
#include <string_view>

// gzip, in which large pattern files are passed around (.rle.gz, .mc.gz, ...):
// the one class that touches zlib, so that every compressed input is inflated
// with the same checks and the same bound on what it may grow to.
class Gzip
{
public:
    Gzip() = delete;

    static constexpr std::size_t MaxInflatedSize = std::size_t(256) << 20; // bytes

    // Whether `bytes` start with gzip's magic number, 1f 8b, whatever the file is called.
    static bool isCompressed(std::string_view bytes);

    // Inflates every gzip member of `bytes` in turn (files joined end to end
    // read as one) into `inflated`; zero bytes after the last member are
    // padding. Returns true, or false and sets `error` to a one-line message
    // when the data is damaged, cut short, followed by something other than a
    // member, or would inflate to more than `limit` bytes (a few kilobytes can
    // inflate to gigabytes; `limit` below SIZE_MAX); `inflated` is then left
    // as it was. Never throws.
    static bool inflate(
        std::string_view bytes, std::string &inflated, std::string &error, std::size_t limit = MaxInflatedSize);

    // `bytes` as one gzip member. Throws std::bad_alloc when memory runs out.
    static std::string deflate(std::string_view bytes);
};

#endif // GZIP_H
