// The editor functions whose subsystems are not built yet.
#include "commands/NotYetBuilt.h"

#include <algorithm>
#include <array>

namespace vexa {
namespace {

constexpr std::array kNotYetBuilt{
    // navigation
    functionIdOf("FunctionFindAll"), functionIdOf("FunctionFindNext"),   functionIdOf("FunctionFindPrevious"),
    functionIdOf("BraceMatch"),      functionIdOf("LineGoto"),           functionIdOf("BookMarkGoto"),
    functionIdOf("FileOpenInLine"),  functionIdOf("FileListAssociates"), functionIdOf("FileListDisplay"),
};

} // namespace

std::span<const FunctionId> notYetBuiltFunctions() {
    return kNotYetBuilt;
}

bool isNotYetBuilt(FunctionId id) {
    return std::find(kNotYetBuilt.begin(), kNotYetBuilt.end(), id) != kNotYetBuilt.end();
}

} // namespace vexa
