// An environment variable set (or unset) for one test, put back as it was afterwards.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/Environment.h"

namespace vexa::test {

class ScopedVariable {
public:
    ScopedVariable(std::string name, const std::optional<std::string>& value)
        : m_name(std::move(name)), m_previous(platform::environmentVariable(m_name)) {
        set(value);
    }
    ~ScopedVariable() { set(m_previous); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void set(const std::optional<std::string>& value) {
        EXPECT_TRUE(value ? platform::setEnvironmentVariable(m_name, *value)
                          : platform::unsetEnvironmentVariable(m_name));
    }
    std::string m_name;
    std::optional<std::string> m_previous;
};

} // namespace vexa::test
