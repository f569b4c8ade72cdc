// The interpreter of the script language.
#include "script/ScriptInterpreter.h"

#include <fstream>
#include <iterator>
#include <limits>

#include "platform/Environment.h"
#include "platform/Files.h"
#include "script/ScriptCall.h"
#include "script/ScriptLibrary.h"
#include "script/ScriptParser.h"
#include "script/ScriptScanner.h"
#include "script/ScriptText.h"

namespace vexa::script {

namespace {

constexpr std::string_view kFatalEnd = "Fatal Error";
constexpr std::string_view kTerminated = "Macro terminated by user!";

// Arithmetic wraps around at 32 bits, as the machine's does; computed unsigned so that an
// overflow is defined.
int32_t wrapped(uint32_t bits) {
    return static_cast<int32_t>(bits);
}
int32_t add(int32_t a, int32_t b) {
    return wrapped(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
int32_t subtract(int32_t a, int32_t b) {
    return wrapped(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
int32_t multiply(int32_t a, int32_t b) {
    return wrapped(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

// A zero divisor gives -1 rather than a trap; so does "%" with one. The one quotient that
// does not fit (the smallest number divided by -1) wraps around like every other overflow.
int32_t divide(int32_t a, int32_t b) {
    if (b == 0) {
        return -1;
    }
    return b == -1 ? subtract(0, a) : a / b;
}
int32_t remainder(int32_t a, int32_t b) {
    if (b == 0) {
        return -1;
    }
    return b == -1 ? 0 : a % b;
}

bool isArgc(const ScriptNode& node) {
    return node.name == "argc";
}

} // namespace

ScriptInterpreter::ScriptInterpreter(ScriptHost& host, const platform::Clock& clock)
    : m_host(host), m_clock(clock), m_tree(std::make_unique<ScriptTree>()) {}

ScriptInterpreter::~ScriptInterpreter() = default;

void ScriptInterpreter::setCheckMode(bool on) {
    m_checkMode = on;
    if (on) {
        m_host.write("Check Mode = 1\n");
    }
}

void ScriptInterpreter::setDebugMode(bool on) {
    m_debugMode = on;
    if (on) {
        m_host.write("Debug Mode = 1\n");
    }
}

int32_t ScriptInterpreter::run(std::string_view commandLine) {
    std::vector<std::string> arguments = splitCommandLine(commandLine, kMaxArguments);
    const std::string name = arguments.empty() ? std::string() : arguments.front();
    std::string source;
    bool opened = !name.empty() && platform::isRegularFile(name);
    if (opened) {
        std::ifstream in(name, std::ios::binary);
        source.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        opened = !in.bad();
    }
    if (!opened) {
        m_tree = std::make_unique<ScriptTree>();
        m_reporter.reset();
        m_host.write("Error opening '" + name + "' macro file\n");
        return -1;
    }
    std::string path = name;
    if (name.find('/') == std::string::npos) {
        path = platform::currentDirectory().value_or(std::string()) + "/" + name;
    }
    return runText(std::move(source), path, std::move(arguments));
}

int32_t ScriptInterpreter::runText(std::string source, const std::string& path,
                                   std::vector<std::string> arguments) {
    m_tree = std::make_unique<ScriptTree>();
    m_reporter = std::make_unique<ScriptReporter>(m_host, path);
    m_arguments = std::move(arguments);
    if (m_arguments.size() > kMaxArguments) {
        m_arguments.resize(kMaxArguments);
    }
    m_ended = false;
    m_code = 0;
    m_endMessage.clear();
    if (m_debugMode) {
        m_host.write("Creating macro..\n");
    }
    ScriptScanner scanner(std::move(source), path, m_host);
    scanner.setCheckMode(m_checkMode);
    scanner.setDebugMode(m_debugMode);
    ScriptParser parser(scanner, *m_tree, *m_reporter);
    bool ran = false;
    switch (parser.parse()) {
    case ParseResult::Fatal:
        end(-1, kFatalEnd);
        break;
    case ParseResult::Failed:
        end(-1, {});
        break;
    case ParseResult::Parsed:
        if (m_checkMode) {
            end(0, {});
        } else {
            prepare();
            ran = true;
            execute((*m_tree)[m_tree->root()].second);
            end(0, {});
        }
        break;
    }
    if (m_debugMode) {
        m_host.write("Processing complete. Return code " + std::to_string(m_code) + "\n");
    }
    // The host hears of the end only of a script that ran: a failed parse or a check has
    // nothing to complete.
    if (ran) {
        m_host.runEnded(m_code, m_endMessage);
    }
    return m_code;
}

void ScriptInterpreter::prepare() {
    // Every text buffer gets its full size now, so that the run itself never allocates.
    for (size_t i = 0; i < m_tree->size(); ++i) {
        ScriptNode& node = (*m_tree)[static_cast<NodeId>(i)];
        if (node.isString()) {
            node.text.reserve(kMaxTextLength);
        }
    }
    m_text.reserve(2 * kMaxTextLength);
    m_expand.reserve(kMaxTextLength);
}

void ScriptInterpreter::end(int32_t code, std::string_view message) {
    if (m_ended) {
        return;
    }
    m_ended = true;
    m_code = code;
    m_endMessage = message;
}

void ScriptInterpreter::warning(NodeId node, std::string_view reason) {
    if (m_ended || !m_reporter) {
        return;
    }
    if (!m_reporter->warning((*m_tree)[node], reason)) {
        end(-1, kFatalEnd);
    }
}

void ScriptInterpreter::fatalError(NodeId node, std::string_view reason) {
    if (m_ended) {
        return;
    }
    m_reporter->error((*m_tree)[node], reason);
    end(-1, kFatalEnd);
}

void ScriptInterpreter::checkTermination() {
    if (m_host.terminationRequested()) {
        end(-1, kTerminated);
    }
}

void ScriptInterpreter::execute(NodeId id) {
    if (id == kNoNode || m_ended) {
        return;
    }
    ScriptTree& tree = *m_tree;
    ScriptNode& node = tree[id];
    switch (node.kind) {
    case NodeKind::Statement:
        for (NodeId item = id; item != kNoNode && !m_ended; item = tree[item].second) {
            execute(tree[item].first);
        }
        return;
    case NodeKind::Declaration:
        declare(node);
        return;
    case NodeKind::If: {
        const ScriptNode& branches = tree[node.second];
        if (condition(node.first)) {
            execute(branches.first);
        } else {
            execute(branches.second);
        }
        return;
    }
    case NodeKind::While:
        while (!m_ended && condition(node.first)) {
            execute(node.second);
            if (!m_ended) {
                checkTermination();
            }
        }
        return;
    case NodeKind::For: {
        const ScriptNode& header = tree[node.second];
        evaluate(header.first);
        while (!m_ended && condition(header.second)) {
            execute(node.first);
            if (!m_ended) {
                checkTermination();
            }
            if (!m_ended) {
                evaluate(header.third);
            }
        }
        return;
    }
    case NodeKind::Return:
        // The condition runs for its side effects; the end point turns its truth value, like
        // any delivered value, into the code 1.
        if (node.first != kNoNode) {
            condition(node.first);
        }
        end(1, {});
        return;
    default:
        evaluate(id);
        return;
    }
}

void ScriptInterpreter::declare(ScriptNode& node) {
    ScriptNode& target = (*m_tree)[node.first];
    if (target.declared) {
        warning(node.first, "Variable already defined");
        if (m_ended) {
            return;
        }
    }
    target.declared = true;
    if (node.second == kNoNode) {
        return;
    }
    if (target.valueType == ValueType::StringVariable) {
        evaluateText(node.second, m_text);
        target.text.assign(m_text, 0, kMaxTextLength);
        target.textSet = true;
        target.value = textToNumber(target.text);
    } else {
        target.value = evaluate(node.second);
    }
}

void ScriptInterpreter::refreshString(ScriptNode& node) {
    if (m_host.expandString(node.literal, m_expand)) {
        node.text.assign(m_expand, 0, kMaxTextLength);
    }
    node.value = textToNumber(node.text);
}

void ScriptInterpreter::resolveArgv(ScriptNode& node) {
    const int32_t index = node.first == kNoNode ? node.useCount : evaluate(node.first);
    if (index >= 0 && static_cast<size_t>(index) < m_arguments.size()) {
        node.text.assign(m_arguments[static_cast<size_t>(index)], 0, kMaxTextLength);
    } else {
        node.text.assign("Bad argument");
    }
    node.value = textToNumber(node.text);
}

int32_t ScriptInterpreter::evaluate(NodeId id) {
    ScriptTree& tree = *m_tree;
    ScriptNode& node = tree[id];
    switch (node.kind) {
    case NodeKind::Number:
    case NodeKind::Variable:
        return node.value;
    case NodeKind::String:
        refreshString(node);
        return node.value;
    case NodeKind::Argument:
        if (isArgc(node)) {
            node.value = static_cast<int32_t>(m_arguments.size());
        } else {
            resolveArgv(node);
        }
        return node.value;
    case NodeKind::PreIncrement:
    case NodeKind::PreDecrement: {
        ScriptNode& target = tree[node.first];
        target.value = node.kind == NodeKind::PreIncrement ? add(target.value, 1) : subtract(target.value, 1);
        return target.value;
    }
    case NodeKind::PostIncrement:
    case NodeKind::PostDecrement: {
        ScriptNode& target = tree[node.first];
        const int32_t old = target.value;
        target.value = node.kind == NodeKind::PostIncrement ? add(old, 1) : subtract(old, 1);
        return old;
    }
    case NodeKind::Multiply:
    case NodeKind::Divide:
    case NodeKind::Remainder:
    case NodeKind::Add:
    case NodeKind::Subtract:
    case NodeKind::BitOr:
    case NodeKind::BitXor:
    case NodeKind::BitAnd: {
        const int32_t a = evaluate(node.first);
        const int32_t b = evaluate(node.second);
        switch (node.kind) {
        case NodeKind::Multiply:
            return multiply(a, b);
        case NodeKind::Divide:
            return divide(a, b);
        case NodeKind::Remainder:
            return remainder(a, b);
        case NodeKind::Add:
            return add(a, b);
        case NodeKind::Subtract:
            return subtract(a, b);
        case NodeKind::BitOr:
            return a | b;
        case NodeKind::BitXor:
            return a ^ b;
        default:
            return a & b;
        }
    }
    case NodeKind::Assign:
        return assign(node);
    case NodeKind::Function:
        return callFunction(id);
    default:
        m_host.write("\nWARNING: unexpected node '" + std::to_string(static_cast<int32_t>(node.kind)) +
                     "' at line '" + std::to_string(node.line) + "' \n");
        return 0;
    }
}

int32_t ScriptInterpreter::evaluateText(NodeId id, std::string& out) {
    ScriptTree& tree = *m_tree;
    ScriptNode& node = tree[id];
    switch (node.kind) {
    case NodeKind::String:
        refreshString(node);
        out.assign(node.text);
        return node.value;
    case NodeKind::Variable:
        if (node.valueType == ValueType::StringVariable) {
            out.assign(node.text);
        } else {
            out.clear();
        }
        return node.value;
    case NodeKind::Argument:
        if (isArgc(node)) {
            break;
        }
        resolveArgv(node);
        out.assign(node.text);
        return node.value;
    case NodeKind::Add: {
        ScriptNode& left = tree[node.first];
        if (left.valueType != ValueType::StringVariable) {
            break;
        }
        // The right side is evaluated first: a call in it may use the same text buffer.
        ScriptNode& right = tree[node.second];
        int32_t rightValue = 0;
        if (right.kind == NodeKind::String) {
            refreshString(right);
            rightValue = right.value;
        } else if (right.kind == NodeKind::Argument && !isArgc(right)) {
            resolveArgv(right);
            rightValue = right.value;
        } else {
            rightValue = evaluate(node.second);
        }
        out.assign(left.text);
        if (right.isString()) {
            out.append(right.text);
        }
        return add(left.value, rightValue);
    }
    default:
        break;
    }
    // Any other right side gives no text; it still runs for its value and side effects.
    const int32_t value = evaluate(id);
    out.clear();
    return value;
}

int32_t ScriptInterpreter::assign(ScriptNode& node) {
    ScriptNode& target = (*m_tree)[node.first];
    if (target.valueType == ValueType::StringVariable) {
        const int32_t value = evaluateText(node.second, m_text);
        if (node.assignOperator == '=') {
            target.text.assign(m_text, 0, kMaxTextLength);
        } else if (node.assignOperator == '+') {
            const size_t room = kMaxTextLength - std::min(kMaxTextLength, target.text.size());
            target.text.append(m_text, 0, room);
        } else {
            return value;
        }
        target.textSet = true;
        target.value = textToNumber(target.text);
        return value;
    }
    const int32_t value = evaluate(node.second);
    switch (node.assignOperator) {
    case '+':
        target.value = add(target.value, value);
        break;
    case '-':
        target.value = subtract(target.value, value);
        break;
    case '/':
        target.value = divide(target.value, value);
        break;
    case '%':
        target.value = remainder(target.value, value);
        break;
    default:
        target.value = value;
        break;
    }
    return target.value;
}

bool ScriptInterpreter::condition(NodeId id) {
    ScriptNode& node = (*m_tree)[id];
    switch (node.kind) {
    case NodeKind::Not:
        return !condition(node.first);
    case NodeKind::And:
        return condition(node.first) && !m_ended && condition(node.second);
    case NodeKind::Or:
        return condition(node.first) || (!m_ended && condition(node.second));
    case NodeKind::Less:
    case NodeKind::Greater:
    case NodeKind::LessEqual:
    case NodeKind::GreaterEqual:
    case NodeKind::Equal:
    case NodeKind::NotEqual: {
        const int32_t a = evaluate(node.first);
        const int32_t b = evaluate(node.second);
        switch (node.kind) {
        case NodeKind::Less:
            return a < b;
        case NodeKind::Greater:
            return a > b;
        case NodeKind::LessEqual:
            return a <= b;
        case NodeKind::GreaterEqual:
            return a >= b;
        case NodeKind::Equal:
            return a == b;
        default:
            return a != b;
        }
    }
    default:
        fatalError(id, "Unexpexted error in logical operand!");
        return false;
    }
}

int32_t ScriptInterpreter::callFunction(NodeId id) {
    ScriptTree& tree = *m_tree;
    if (m_ended) {
        return 0;
    }
    // Arguments are evaluated left to right before the call; each keeps its value.
    for (NodeId arg = tree[tree[id].second].first; arg != kNoNode; arg = tree[arg].second) {
        ScriptNode& argument = tree[arg];
        argument.value = evaluate(argument.first);
        if (m_ended) {
            return 0;
        }
    }
    ScriptCall call(*this, tree, id);
    int32_t result = -1;
    if (const LibraryEntry* entry = findLibraryFunction(call.name())) {
        result = entry->function(call);
    } else if (const std::optional<int32_t> hosted = m_host.callFunction(call)) {
        result = *hosted;
    } else {
        warning(tree[id].first, "Call to an unknown function!");
    }
    tree[id].value = result;
    return result;
}

} // namespace vexa::script
