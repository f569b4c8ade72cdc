// Writing a file so that its target is always either the old or the complete new content.
#pragma once

#include <cstdio>
#include <span>
#include <string>
#include <string_view>

namespace vexa::platform {

// Collects the new content in a temporary file beside the target and renames it over the
// target on commit. A symbolic link is followed, so the link stays and its target is replaced;
// the target's permission bits are kept. Every write and the close are checked: a failure
// leaves the old file untouched and commit() returns false. Without a commit the temporary
// file is removed.
class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Opens the temporary file for the target path. False when it cannot be created.
    [[nodiscard]] bool open(const std::string& targetPath);
    [[nodiscard]] bool isOpen() const { return m_file != nullptr; }

    // Appends bytes; after the first failure every later write fails too.
    bool write(std::span<const char> bytes);
    bool write(std::string_view text) { return write(std::span<const char>(text.data(), text.size())); }
    // A std::string converts to both forms above; this spares callers the choice.
    bool write(const std::string& text) { return write(std::string_view(text)); }

    // Flushes, syncs and closes the temporary file and renames it over the target.
    [[nodiscard]] bool commit();

    // The system's text for the first failure, empty when there was none.
    const std::string& errorText() const { return m_error; }

private:
    void fail();
    void discard();

    std::FILE* m_file = nullptr;
    std::string m_target;
    std::string m_temporary;
    std::string m_error;
    bool m_failed = false;
};

// Writes the whole content with an AtomicFileWriter; false (and the old file kept) on failure.
[[nodiscard]] bool writeFileAtomically(const std::string& targetPath, std::string_view content,
                                       std::string* errorText = nullptr);

} // namespace vexa::platform
