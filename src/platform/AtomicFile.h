// Writing a file so that its target is always either the old or the complete new content.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace vexa::platform {

// How the new content reaches an existing target.
enum class ReplaceMethod : uint8_t {
    // A complete temporary file is renamed over the target: the target is never partly written.
    Rename,
    // The target keeps its directory entry and inode: after a backup copy of the old content the
    // complete new content is copied into it. Used where a rename would lose something.
    InPlace,
};

// What decides the method, gathered from the target, its directory and the user.
struct TargetFacts {
    bool exists = false;
    bool directoryWritable = true;
    uint64_t links = 1;
    // A file made by this user can be given the target's owner and group.
    bool ownerKeepable = true;
    // Extended access rules that a new file would not carry.
    bool hasAccessList = false;
};

// A rename would fail in a directory the user cannot write, would split the name from the
// file's other hard links, and would give the file this user's owner or group or drop its
// access list; each of these writes in place instead.
[[nodiscard]] ReplaceMethod chooseReplaceMethod(const TargetFacts& facts);

// The facts of a target path (symbolic links already resolved).
[[nodiscard]] TargetFacts targetFacts(const std::string& path);

// Collects the new content in a complete temporary file and on commit puts it in place by the
// method above. A symbolic link is followed, so the link stays and its target is replaced; the
// target's permission bits, owner and group are kept. Every write and the close are checked: a
// failure leaves the old file untouched and commit() returns false. Without a commit the
// temporary file is removed. Opening also removes temporary files that earlier saves of the
// same target by this user left behind when they were killed.
class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Opens the temporary file for the target path. False when it cannot be created.
    [[nodiscard]] bool open(const std::string& targetPath);
    [[nodiscard]] bool isOpen() const { return m_file != nullptr; }
    // The method commit() will use; known after open().
    [[nodiscard]] ReplaceMethod method() const { return m_method; }

    // Appends bytes; after the first failure every later write fails too.
    bool write(std::span<const char> bytes);
    bool write(std::string_view text) { return write(std::span<const char>(text.data(), text.size())); }
    // A std::string converts to both forms above; this spares callers the choice.
    bool write(const std::string& text) { return write(std::string_view(text)); }

    // Flushes and syncs the temporary file and puts it in place of the target.
    [[nodiscard]] bool commit();

    // The system's text for the first failure, empty when there was none.
    const std::string& errorText() const { return m_error; }
    // After an in-place rewrite failed and the old content could not be put back either: the
    // file that holds the old content. Empty otherwise.
    const std::string& keptOldCopy() const { return m_keptOldCopy; }

    // Runs just before the target is rewritten in place: lets a test make that rewrite fail.
    void setBeforeRewrite(std::function<void()> action) { m_beforeRewrite = std::move(action); }

private:
    void fail();
    void discard();
    bool replaceInPlace();

    std::FILE* m_file = nullptr;
    std::string m_target;
    std::string m_temporary;
    std::string m_error;
    std::string m_keptOldCopy;
    std::function<void()> m_beforeRewrite;
    ReplaceMethod m_method = ReplaceMethod::Rename;
    bool m_failed = false;
    // Bytes written, and how many of them the disk has been asked to start on.
    uint64_t m_written = 0;
    uint64_t m_started = 0;
};

// The temporary-file prefix of a target's name: ".NAME.vexa-".
[[nodiscard]] std::string temporaryPrefix(std::string_view name);

// Writes the whole content with an AtomicFileWriter; false (and the old file kept) on failure.
[[nodiscard]] bool writeFileAtomically(const std::string& targetPath, std::string_view content,
                                       std::string* errorText = nullptr);

} // namespace vexa::platform
