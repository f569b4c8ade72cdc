// Feeds arbitrary bytes to the script parser and checks the tree it builds stays in its limits.
#include <cstddef>
#include <cstdint>
#include <string>

#include "script/ScriptParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vexa::script;
    StringScriptOutput output;
    ScriptScanner scanner(std::string(reinterpret_cast<const char*>(data), size), "/fuzz/p.zm", output);
    ScriptTree tree;
    ScriptReporter reporter(output, "/fuzz/p.zm");
    ScriptParser parser(scanner, tree, reporter);
    const ParseResult result = parser.parse();
    if (tree.size() > ScriptTree::kMaxNodes || tree.variableCount() > ScriptTree::kMaxVariables) {
        __builtin_trap();
    }
    if (result == ParseResult::Parsed) {
        if (tree.root() == kNoNode || tree[tree.root()].kind != NodeKind::Program ||
            tree[tree.root()].depth > ScriptParser::kMaxDepth + 1) {
            __builtin_trap();
        }
    } else if (!reporter.syntaxError()) {
        __builtin_trap();
    }
    return 0;
}
