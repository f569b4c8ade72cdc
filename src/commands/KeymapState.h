// What the command processor asks of the active keymap: its prefix state and its two mark flags.
#pragma once

namespace vexa {

// The keyboard layer sits above the commands and implements this for the active keymap. Without
// one the processor behaves as with a keymap that is never armed and has both flags off.
class KeymapState {
public:
    virtual ~KeymapState() = default;
    // Whether a prefix key has armed the keymap so that the next key completes a binding.
    virtual bool isPrefixArmed() const = 0;
    // Disarms the keymap; the processor calls it after every function, whatever its result.
    virtual void resetPrefix() = 0;
    // The keymap's "key press removes mark" flag: a typed key replaces the marked text.
    virtual bool keyPressRemovesMark() const = 0;
    // The keymap's "cut/copy removes mark" flag.
    virtual bool cutCopyRemovesMark() const = 0;
};

} // namespace vexa
