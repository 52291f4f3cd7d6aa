// Any bytes as a pattern file for a thumbnail, through PatternSketch::draw,
// which reads the files of a folder on threads apart from the window's. The
// first byte picks the side. Beyond not crashing, a sketch fits its square
// and shows a live pixel, and a refusal leaves no sketch.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/files/patternsketch.h"
#include "tests/fuzz/fuzzrequire.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int side = 1 + data[0] % 64;
    const std::string_view bytes(reinterpret_cast<const char *>(data + 1), size - 1);
    PatternSketch sketch;
    if (PatternSketch::draw(bytes, side, sketch)) {
        require(sketch.width >= 1 && sketch.width <= side && sketch.height >= 1 && sketch.height <= side,
            "a sketch fits its square");
        require(sketch.pixels.size() == static_cast<std::size_t>(sketch.width) * sketch.height,
            "a sketch has a byte for each pixel");
        bool live = false;
        for (const std::uint8_t pixel : sketch.pixels)
            live = live || pixel == 1;
        require(live, "a sketch shows a live pixel");
    } else {
        require(sketch.width == 0 && sketch.height == 0 && sketch.pixels.empty(), "a refusal leaves no sketch");
    }
    return 0;
}
