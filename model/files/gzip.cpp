#include "model/files/gzip.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <new>

namespace
{

// Bytes handed to zlib at once: its counts are 32-bit.
constexpr std::size_t Chunk = std::size_t(1) << 30;
// gzip's header and deflate with it: the window bits plus 16.
constexpr int GzipWindowBits = 16 + MAX_WBITS;

std::string sizeText(std::size_t bytes)
{
    if (bytes % (std::size_t(1) << 20) == 0)
        return std::to_string(bytes >> 20) + " MiB";
    return std::to_string(bytes) + " bytes";
}

// Gives the stream the next piece of the input once it has used what it had.
void feedInput(z_stream &stream, const Bytef *&next, std::size_t &unread)
{
    if (stream.avail_in != 0 || unread == 0)
        return;
    const std::size_t size = std::min(unread, Chunk);
    stream.next_in = const_cast<Bytef *>(next);
    stream.avail_in = static_cast<uInt>(size);
    next += size;
    unread -= size;
}

// Gives the stream room after the first `produced` bytes of `output`, which grows by doubling up to `capacity`
// bytes when full. Returns the room given.
std::size_t offerRoom(z_stream &stream, std::string &output, std::size_t produced, std::size_t capacity)
{
    if (produced == output.size())
        output.resize(std::min(capacity, std::max<std::size_t>(64 * 1024, produced * 2)));
    const std::size_t room = std::min(output.size() - produced, Chunk);
    stream.next_out = reinterpret_cast<Bytef *>(&output[produced]);
    stream.avail_out = static_cast<uInt>(room);
    return room;
}

} // namespace

bool Gzip::isCompressed(std::string_view bytes)
{
    return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0x1F
        && static_cast<unsigned char>(bytes[1]) == 0x8B;
}

bool Gzip::inflate(std::string_view bytes, std::string &inflated, std::string &error, std::size_t limit)
{
    z_stream stream {};
    if (inflateInit2(&stream, GzipWindowBits) != Z_OK) {
        error = "not enough memory to inflate the gzip data";
        return false;
    }
    std::string output;
    std::size_t produced = 0;
    std::size_t unread = bytes.size();
    const auto *next = reinterpret_cast<const Bytef *>(bytes.data());
    try {
        // Each turn reads a byte or writes one, or ends the loop: it ends
        // within the input's bytes and the limit's, whatever the data.
        for (;;) {
            feedInput(stream, next, unread);
            // One byte beyond the limit tells a file over it.
            const std::size_t room = offerRoom(stream, output, produced, limit + 1);
            const std::size_t unreadBefore = stream.avail_in + unread;
            const int status = ::inflate(&stream, Z_NO_FLUSH);
            const bool moved = stream.avail_in + unread != unreadBefore || stream.avail_out != room;
            produced += room - stream.avail_out;
            if (produced > limit) {
                error
                    = "the gzip data inflates to more than " + sizeText(limit) + ", more than a pattern file may have";
                break;
            }

            if (status == Z_STREAM_END) {
                const std::size_t left = stream.avail_in + unread;
                const std::string_view rest = bytes.substr(bytes.size() - left);
                if (rest.find_first_not_of('\0') == std::string_view::npos) {
                    output.resize(produced);
                    inflated = std::move(output);
                    inflateEnd(&stream);
                    return true;
                }
                if (!isCompressed(rest)) {
                    error = "the gzip data is followed by " + std::to_string(left) + " bytes that are not gzip data";
                    break;
                }
                inflateReset(&stream);
            } else if (status == Z_DATA_ERROR || status == Z_NEED_DICT) {
                error = std::string("the gzip data is damaged (")
                    + (stream.msg != nullptr ? stream.msg : "a preset dictionary it does not have") + ")";
                break;
            } else if (status == Z_MEM_ERROR) {
                throw std::bad_alloc();
            } else if (!moved) {
                // zlib reads no further only once it has read every byte.
                error = "the gzip data ends early: the file is cut short";
                break;
            }
        }
    } catch (const std::bad_alloc &) {
        error = "not enough memory to inflate the gzip data";
    }
    inflateEnd(&stream);
    return false;
}

std::string Gzip::deflate(std::string_view bytes)
{
    z_stream stream {};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, GzipWindowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::bad_alloc();
    std::string output;
    std::size_t produced = 0;
    std::size_t unread = bytes.size();
    const auto *next = reinterpret_cast<const Bytef *>(bytes.data());
    try {
        for (;;) {
            feedInput(stream, next, unread);
            const std::size_t room = offerRoom(stream, output, produced, SIZE_MAX);
            const int status = ::deflate(&stream, unread == 0 ? Z_FINISH : Z_NO_FLUSH);
            produced += room - stream.avail_out;
            if (status == Z_STREAM_END)
                break;
            if (status != Z_OK && status != Z_BUF_ERROR)
                throw std::bad_alloc();
        }
    } catch (...) {
        deflateEnd(&stream);
        throw;
    }
    deflateEnd(&stream);
    output.resize(produced);
    return output;
}
