// A modal dialog as the behaviour sees it: a model with the fields, the rules, the messages and
// the button actions; the frame only shows it and reports how it was closed.
#pragma once

#include <cstdint>
#include <string_view>

namespace vexa {

// How a modal dialog was closed: by its accepting button (OK, Save, ...) or by Cancel / Escape.
enum class DialogResult : uint8_t { Accepted, Cancelled };

// The base of every dialog model. Each subsystem's models derive from it; the Qt layer finds the
// view of a model by its type, and the headless frame hands it to a test's script.
class DialogModel {
public:
    virtual ~DialogModel() = default;
    // The title of the dialog's window ("Compiler Options").
    virtual std::string_view title() const = 0;
};

} // namespace vexa
