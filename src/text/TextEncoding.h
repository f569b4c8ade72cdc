// How a document's bytes stand for characters: Windows-1252 (one byte, one character) or UTF-8.
// The functions here are the one place that knows either encoding; everything above works on
// bytes and asks here where a character starts, how many cells it takes and how text crosses
// between the encodings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vexa {

enum class TextEncoding : uint8_t { Windows1252, Utf8 };

// The line end a file is written with: CR LF (DOS text) or LF (Unix text).
enum class LineEnds : uint8_t { Dos, Unix };

// Names as the status line and the settings show them: "1252"/"UTF-8", "CRLF"/"LF".
std::string_view encodingName(TextEncoding encoding);
std::string_view lineEndsName(LineEnds ends);

namespace text {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The character a Windows-1252 byte stands for; the five unassigned bytes stand for themselves.
char32_t windows1252ToUnicode(unsigned char byte);
// The Windows-1252 byte of a character, or nothing when the set has none.
std::optional<unsigned char> unicodeToWindows1252(char32_t character);

// One character of a byte string. A valid UTF-8 sequence (shortest form, no surrogates, at most
// U+10FFFF) is one character; any other byte is a character of its own, decoded as the
// replacement character, so that every byte belongs to exactly one character.
struct Decoded {
    char32_t character;
    int length; // bytes, 1..4
    bool valid;
};
Decoded decodeUtf8(std::string_view bytes, std::size_t at);

// The start of the character an offset lies in (the offset itself when it starts one or lies
// outside the bytes).
int characterStart(std::string_view bytes, int offset, TextEncoding encoding);
// The offset of the next character, and of the previous one; past the end of the bytes every
// step is one (virtual space).
int nextCharacter(std::string_view bytes, int offset, TextEncoding encoding);
int previousCharacter(std::string_view bytes, int offset, TextEncoding encoding);
// The characters of bytes in reverse order, each character's own bytes kept in order.
std::string reverseCharacters(std::string_view bytes, TextEncoding encoding);

// Display cells of a character: two for East Asian wide and fullwidth characters, one otherwise.
int cellWidth(char32_t character);

// Whether bytes are valid UTF-8, and whether they hold a sequence of more than one byte.
struct Utf8Check {
    bool valid = true;
    bool multiByte = false;
};
Utf8Check checkUtf8(std::string_view bytes);

// The same check over bytes that arrive in pieces (a file read in chunks): a sequence cut by the
// end of one piece is completed by the next.
class Utf8Stream {
public:
    void add(std::string_view bytes);
    // The result for everything added; a sequence left unfinished at the end makes it invalid.
    Utf8Check result() const;
    // The same while more may come: a sequence the next piece may complete counts as valid.
    Utf8Check soFar() const { return m_check; }

private:
    Utf8Check m_check;
    std::string m_carry; // the start of a sequence cut by the end of the last piece
};

// A file's encoding: UTF-8 when its bytes are valid UTF-8 with at least one multi-byte sequence,
// Windows-1252 when they are not valid UTF-8, and the default for new documents when they are
// plain ASCII.
TextEncoding detectEncoding(std::string_view bytes, TextEncoding asciiDefault);
// The same decision from a check already made.
TextEncoding encodingFor(Utf8Check check, TextEncoding asciiDefault);

// Text from outside the documents (clipboard, dialogs, scripts, templates) is carried as UTF-8.
// Bytes of a document as UTF-8: Windows-1252 bytes are converted, UTF-8 bytes copied (invalid
// bytes become the replacement character).
std::string toUtf8(std::string_view bytes, TextEncoding from);
// UTF-8 text as bytes of a document. For Windows-1252, nothing when some character has no byte in
// the set; `missing` then receives the first such character.
std::optional<std::string> fromUtf8(std::string_view utf8, TextEncoding to, char32_t* missing = nullptr);
// Bytes whose encoding is not known (a script's string, an old history entry) read as text: UTF-8
// when they are valid UTF-8, otherwise Windows-1252; the result is UTF-8.
std::string externalToUtf8(std::string_view bytes);
// Appends the UTF-8 form of a character.
void appendUtf8(std::string& out, char32_t character);

} // namespace text
} // namespace vexa
