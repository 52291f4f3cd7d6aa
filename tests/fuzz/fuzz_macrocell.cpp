// Any bytes as a macrocell file, through Macrocell::read. Beyond not crashing
// and staying within the memory limit, the reader must keep its promise:
// refuse with a one-line message and leave the content alone, or hand out a
// universe that, written again, reads back as the same cells, name, comments,
// rule and generation, and writes the very same file a second time; a file of
// state numbers keeps every state the same way. Each input is read once more
// cut short, as a download that broke off leaves a file.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/engine/hashlife.h"
#include "model/engine/statehashlife.h"
#include "model/files/macrocell.h"
#include "tests/fuzz/fuzzrequire.h"

namespace
{

int check(const std::uint8_t *data, std::size_t size)
{
    static const bool limited = [] {
        HashLife::setMemoryLimit(std::size_t(128) << 20);
        StateHashLife::setMemoryLimit(std::size_t(128) << 20);
        return true;
    }();
    (void)limited;

    MacrocellContent content;
    content.name = "untouched";
    std::string error;
    if (!Macrocell::read(std::string_view(reinterpret_cast<const char *>(data), size), content, error)) {
        require(!error.empty() && error.find_first_of("\r\n") == std::string::npos, "a refusal says why, on one line");
        require(content.name == "untouched" && content.comments.empty() && !content.rule && !content.generation,
            "a refused file leaves the content alone");
        return 0;
    }

    const Rule rule = content.rule.value_or(Rule());
    const std::int64_t generation = content.generation.value_or(0);
    const std::string written = Macrocell::write(content.universe, rule, generation, content.name, content.comments);
    MacrocellContent again;
    require(Macrocell::read(written, again, error), "the written file is read");
    require(again.universe.equals(content.universe), "the written file reads back as the same cells");
    require(again.name == content.name && again.comments == content.comments, "name and comments stay");
    require(
        again.rule.value_or(Rule()) == rule && again.generation.value_or(0) == generation, "rule and generation stay");
    require(Macrocell::write(again.universe, rule, generation, again.name, again.comments) == written,
        "writing what a written file says writes it again");
    if (!content.states)
        return 0;
    require(content.states->population() == content.universe.population(), "the states hold the cells not dead");
    const std::string stated = Macrocell::write(*content.states, rule, generation, content.name, content.comments);
    MacrocellContent statedAgain;
    require(Macrocell::read(stated, statedAgain, error), "the written file of states is read");
    require(statedAgain.states && statedAgain.states->equals(*content.states),
        "the written file reads back as the same states");
    require(Macrocell::write(*statedAgain.states, rule, generation, content.name, content.comments) == stated,
        "writing what a written file of states says writes it again");
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    check(data, size);
    // Cut where the last byte says, so that the fuzzer reaches every length.
    return size > 1 ? check(data, data[size - 1] * (size - 1) / 255) : 0;
}
