// The "User Input" dialog of the script function user_input: one or two prompts, each with its
// entry field.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "frame/DialogModel.h"

namespace vexa {

class UserInputModel final : public DialogModel {
public:
    static constexpr std::size_t kMaxText = 1024;

    explicit UserInputModel(std::vector<std::string> prompts)
        : m_prompts(std::move(prompts)), m_texts(m_prompts.size()) {}

    std::string_view title() const override { return "User Input"; }
    // The field names ("Prompt1:", "Prompt2:") and the script's prompt texts shown as labels.
    std::string fieldName(std::size_t index) const { return "Prompt" + std::to_string(index + 1) + ":"; }
    const std::vector<std::string>& prompts() const { return m_prompts; }
    const std::string& text(std::size_t index) const { return m_texts.at(index); }
    // The text of a field, cut to what a script string holds.
    void setText(std::size_t index, std::string text) {
        if (text.size() > kMaxText) {
            text.resize(kMaxText);
        }
        m_texts.at(index) = std::move(text);
    }

private:
    std::vector<std::string> m_prompts;
    std::vector<std::string> m_texts;
};

} // namespace vexa
