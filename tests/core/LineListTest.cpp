// The line list against a plain vector: insertions and removals anywhere, across block splits.
#include "core/LineList.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vexa {
namespace {

void expectSame(const LineList& list, const std::vector<std::string>& model) {
    ASSERT_EQ(list.count(), static_cast<int>(model.size()));
    for (std::size_t i = 0; i < model.size(); ++i) {
        ASSERT_EQ(list.at(static_cast<int>(i)).text(), model[i]) << "line " << i;
    }
}

TEST(LineList, FollowsAVectorThroughRandomInsertionsAndRemovals) {
    LineList list;
    std::vector<std::string> model;
    for (int i = 0; i < 5000; ++i) {
        list.append(DocLine(std::to_string(i)));
        model.push_back(std::to_string(i));
    }
    uint32_t state = 7;
    auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return state >> 8;
    };
    for (int step = 0; step < 20000; ++step) {
        uint32_t roll = next();
        int size = static_cast<int>(model.size());
        if (roll % 3 != 0 || size == 0) {
            // Insertions cluster around one place, as typing does, so blocks must split.
            int at = (step / 1000) % 2 == 0 ? size / 2
                                            : static_cast<int>(next() % static_cast<uint32_t>(size + 1));
            std::string text = "n" + std::to_string(step);
            list.insert(at, DocLine(text));
            model.insert(model.begin() + at, text);
        } else {
            int at = static_cast<int>(next() % static_cast<uint32_t>(size));
            DocLine taken = list.take(at);
            ASSERT_EQ(taken.text(), model[static_cast<std::size_t>(at)]);
            model.erase(model.begin() + at);
        }
        if (step % 50 == 0 && !model.empty()) {
            // A look-up far from the last change brings the stale block starts up to date.
            int probe = static_cast<int>(next() % static_cast<uint32_t>(model.size()));
            ASSERT_EQ(list.at(probe).text(), model[static_cast<std::size_t>(probe)]) << "step " << step;
        }
    }
    expectSame(list, model);
}

TEST(LineList, RemovingEveryLineAndStartingAgainWorks) {
    LineList list;
    for (int i = 0; i < 3000; ++i) {
        list.append(DocLine("x" + std::to_string(i)));
    }
    while (!list.empty()) {
        list.take(list.count() - 1);
    }
    list.insert(0, DocLine("b"));
    list.insert(0, DocLine("a"));
    list.insert(2, DocLine("c"));
    expectSame(list, {"a", "b", "c"});
}

} // namespace
} // namespace vexa
