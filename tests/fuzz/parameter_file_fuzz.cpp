#include "operations/parameter_file.h"
#include "tests/fuzz/fuzz_check.h"

#include <cstdint>
#include <string>

// Input: the bytes of a parameter file. Whatever they are, the reader either refuses them with
// at least one numbered problem or gives every register a value in its range; and a file that
// it takes, written out again, reads back to the same values.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto read = readParameterFile(text, kParameterRegisters);
    if (!read.problems.empty()) {
        require(read.stored.empty(), "a refused file gives no values");
        for (const FileProblem& p : read.problems) {
            require(p.line >= 1 && !p.what.empty(), "every problem names its line");
        }
        return 0;
    }
    require(read.stored.size() == kParameterRegisters.size(), "every register has a value");
    for (std::size_t i = 0; i < read.stored.size(); ++i) {
        const StoredRange range = kParameterRegisters[i].range;
        require(read.stored[i] >= range.lowest && read.stored[i] <= range.highest,
                "every value lies in its register's range");
    }
    const auto again = readParameterFile(writeParameterFile(kParameterRegisters, read.stored, {}),
                                         kParameterRegisters);
    require(again.problems.empty() && again.stored == read.stored, "a written file reads back");
    return 0;
}
