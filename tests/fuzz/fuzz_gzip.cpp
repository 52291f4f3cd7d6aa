// Any bytes as gzip data, through Gzip::inflate, which every pattern file
// passes before it is read. Beyond not crashing, it must keep its promise:
// refuse with a one-line message and leave the output alone, or inflate to at
// most the limit; and deflating any bytes must inflate back to them.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/files/gzip.h"
#include "tests/fuzz/fuzzrequire.h"

namespace
{

// Small, so that a bomb is caught within the fuzzer's memory limit.
constexpr std::size_t Limit = 1024 * 1024;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    std::string inflated = "untouched";
    std::string error;
    if (Gzip::inflate(bytes, inflated, error, Limit)) {
        require(inflated.size() <= Limit, "the inflated data stays within the limit");
        std::string again;
        require(Gzip::inflate(Gzip::deflate(inflated), again, error, Limit) && again == inflated,
            "what was inflated, deflated, inflates to the same");
    } else {
        require(!error.empty() && error.find_first_of("\r\n") == std::string::npos, "a refusal says why, on one line");
        require(inflated == "untouched", "a refusal leaves the output alone");
    }
    std::string back;
    require(Gzip::inflate(Gzip::deflate(bytes), back, error, Limit + size) && back == bytes,
        "any bytes deflated inflate back to themselves");
    return 0;
}
