// Feeds patterns and lines (and raw programs) to the regular-expression engine: nothing may crash,
// overrun or hang, whatever the bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "regex/RegexMatcher.h"
#include "regex/RegexProgram.h"
#include "regex/RegexShared.h"
#include "text/TextEncoding.h"

namespace {

// Lines in the editor are short; a long subject only makes the fuzzer slow, not wiser.
constexpr std::size_t kMaxSubject = 4096;

} // namespace

// Byte 0 chooses the mode: bit 0 ignore case, bit 1 run the pattern bytes as a raw program, bit 2
// also run the compiled program remembering failures from its first step (the bookkeeping must
// not change any answer), bit 3 compile for UTF-8 text (every match must then start and end where
// characters do), bits 4 to 7 a start offset for that run.
// Byte 1 is the pattern's length; the pattern follows, then the subject.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const uint8_t mode = data[0];
    const vexa::TextEncoding encoding =
        (mode & 8) != 0 ? vexa::TextEncoding::Utf8 : vexa::TextEncoding::Windows1252;
    const std::size_t patternLength = std::min<std::size_t>(data[1], size - 2);
    const std::string_view pattern(reinterpret_cast<const char*>(data + 2), patternLength);
    std::string_view subject(reinterpret_cast<const char*>(data + 2 + patternLength),
                             size - 2 - patternLength);
    if (subject.size() > kMaxSubject) {
        subject = subject.substr(0, kMaxSubject);
    }

    vexa::setRegexIgnoreCase((mode & 1) != 0);
    if ((mode & 2) != 0) {
        std::vector<uint8_t> bytes{vexa::kRegexMagic};
        bytes.insert(bytes.end(), pattern.begin(), pattern.end());
        const vexa::RegexProgram program = vexa::RegexProgram::fromBytes(std::move(bytes));
        vexa::RegexMatch match;
        (void)program.execute(subject, &match);
        return 0;
    }

    if ((mode & 4) != 0) {
        auto program = vexa::RegexProgram::compile(pattern, nullptr, encoding);
        if (program) {
            const std::size_t from = std::min<std::size_t>(mode >> 4, subject.size());
            vexa::RegexMatch plain;
            const vexa::RegexOutcome plainOutcome = program->execute(subject, &plain, nullptr, from);
            program->setRememberAfterSteps(1);
            vexa::RegexMatch remembering;
            const vexa::RegexOutcome rememberingOutcome =
                program->execute(subject, &remembering, nullptr, from);
            const bool bounded = plainOutcome == vexa::RegexOutcome::Exhausted ||
                                 rememberingOutcome == vexa::RegexOutcome::Exhausted;
            if (!bounded && (plainOutcome != rememberingOutcome ||
                             (plainOutcome == vexa::RegexOutcome::Match &&
                              (plain.start != remembering.start || plain.end != remembering.end)))) {
                __builtin_trap();
            }
            if (plainOutcome == vexa::RegexOutcome::Match &&
                (plain.start[0] < static_cast<int>(from) ||
                 plain.end[0] > static_cast<int>(subject.size()))) {
                __builtin_trap();
            }
        }
    }

    vexa::RegexMatcher matcher((mode & 1) != 0 ? vexa::RegexMatcher::kIgnoreCase
                                               : vexa::RegexMatcher::kCaseSensitive);
    matcher.setEncoding(encoding);
    if (matcher.match(subject, pattern)) {
        // A reported match must lie within the subject.
        const std::size_t end = matcher.offset() + matcher.matchedLength();
        if (end > subject.size() ||
            matcher.matchedText() != subject.substr(matcher.offset(), matcher.matchedLength())) {
            __builtin_trap();
        }
        const vexa::RegexMatch& positions = matcher.positions();
        if (encoding == vexa::TextEncoding::Utf8) {
            const std::string_view line = subject.substr(0, subject.find('\0'));
            auto boundary = [&](int offset) {
                return offset < 0 || vexa::text::characterStart(line, offset, encoding) == offset;
            };
            for (int slot = 0; slot < vexa::kRegexSlots; ++slot) {
                if (!boundary(positions.start[slot]) || !boundary(positions.end[slot])) {
                    __builtin_trap();
                }
            }
        }
        for (int slot = 1; slot < vexa::kRegexSlots; ++slot) {
            if (positions.start[slot] > static_cast<int>(subject.size()) ||
                positions.end[slot] > static_cast<int>(subject.size())) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
