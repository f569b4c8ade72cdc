// Fuzzes the help file reader: any bytes give a status, and the keywords and title it returns are
// within the input's size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "aids/HelpFile.h"
#include "aids/HelpIndex.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vexa::aids::HelpFileContents contents = vexa::aids::readHelpFile(std::span<const uint8_t>(data, size));
    if (contents.status != vexa::aids::HelpIndexStatus::Done && !contents.keywords.empty()) {
        std::abort();
    }
    std::size_t total = contents.title.size();
    for (const std::string& keyword : contents.keywords) {
        if (keyword.empty()) {
            std::abort();
        }
        total += keyword.size();
    }
    if (total > size) {
        std::abort();
    }
    (void)vexa::aids::helpIndexText("/help/FILE.HLP", contents);
    return 0;
}
