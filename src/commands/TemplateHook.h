// Template expansion on a typed space, as the command processor calls it.
#pragma once

namespace vexa {

class Document;

// Implemented by the template store. Called before a space is typed in insert mode; when it
// expands the abbreviation before the cursor it returns true and the space is not typed.
class TemplateHook {
public:
    virtual ~TemplateHook() = default;
    virtual bool expandBeforeSpace(Document& document) = 0;
};

} // namespace vexa
