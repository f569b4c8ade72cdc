// The hooks of the keyboard macros and the templates for a processor whose test uses neither: a
// recorder that never records or plays back, and templates that expand nothing.
#pragma once

#include "commands/MacroRecorderHook.h"
#include "commands/TemplateHook.h"

namespace vexa::test {

class IdleRecorder final : public MacroRecorderHook {
public:
    bool isRecording() const override { return false; }
    bool isPlayingBack() const override { return false; }
    void recordFunction(uint16_t /*id*/) override {}
    void recordCharacter(char32_t /*character*/, uint16_t /*modifierFlags*/) override {}
};

class NoTemplates final : public TemplateHook {
public:
    bool expandBeforeSpace(Document& /*document*/) override { return false; }
};

} // namespace vexa::test
