// Runs a fuzz target's entry on saved inputs without libFuzzer, so that the
// ordinary sanitizer build replays them as a test.
//
// Arguments: files, or folders whose files are all replayed, in name order; a
// folder that does not exist (no input of that kind has failed yet) holds
// none. Exits 0 when every input was replayed, 1 when there was none at all
// or one could not be read; a fault in the entry ends the run through the
// sanitizers or an abort, after the input's name was printed.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace
{

std::vector<std::filesystem::path> inputsIn(const std::filesystem::path &argument)
{
    std::error_code error;
    if (!std::filesystem::is_directory(argument, error))
        return std::filesystem::exists(argument, error) ? std::vector { argument }
                                                        : std::vector<std::filesystem::path>();
    std::vector<std::filesystem::path> files;
    for (const auto &entry : std::filesystem::directory_iterator(argument)) {
        if (entry.is_regular_file())
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int main(int argc, char **argv)
{
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        for (const std::filesystem::path &path : inputsIn(argv[i])) {
            std::ifstream file(path, std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
            if (file.bad()) {
                std::fprintf(stderr, "cannot read %s\n", path.c_str());
                return 1;
            }
            std::printf("%s (%zu bytes)\n", path.c_str(), bytes.size());
            std::fflush(stdout);
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
            ++replayed;
        }
    }
    std::printf("%d inputs replayed\n", replayed);
    return replayed > 0 ? 0 : 1;
}
