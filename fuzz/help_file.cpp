// Fuzzes the help file reader: any bytes give a status, the keywords and title it returns are
// within the input's size, and an input of up to 5 KB is read in under 50 ms with under 16 MB
// allocated at its peak (a crafted tree once had a page that linked to itself read 65,535 times).
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <span>

#include "aids/HelpFile.h"
#include "aids/HelpIndex.h"

namespace {

constexpr std::size_t kBudgetInputSize = 5 * 1024;
constexpr auto kBudgetTime = std::chrono::milliseconds(50);
constexpr std::size_t kBudgetMemory = 16 * 1024 * 1024;

// The allocations of the program, counted by the replaced operator new below: what is live now
// and the highest that was live since the last reset. Each block carries its size in front.
std::atomic<std::size_t> g_live{0};
std::atomic<std::size_t> g_peak{0};
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* allocate(std::size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    *reinterpret_cast<std::size_t*>(block) = size;
    const std::size_t live = g_live += size;
    std::size_t peak = g_peak.load();
    while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {
    }
    return block + kHeader;
}

void release(void* pointer) {
    if (pointer == nullptr) {
        return;
    }
    auto* block = static_cast<unsigned char*>(pointer) - kHeader;
    g_live -= *reinterpret_cast<std::size_t*>(block);
    std::free(block);
}

} // namespace

void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
// libFuzzer allocates with the nothrow forms and frees with plain delete: they must count alike.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept {
    release(pointer);
}
void operator delete[](void* pointer, const std::nothrow_t&) noexcept {
    release(pointer);
}
void operator delete(void* pointer) noexcept {
    release(pointer);
}
void operator delete[](void* pointer) noexcept {
    release(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    release(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    release(pointer);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::size_t liveBefore = g_live.load();
    g_peak = liveBefore;
    const auto start = std::chrono::steady_clock::now();
    vexa::aids::HelpFileContents contents = vexa::aids::readHelpFile(std::span<const uint8_t>(data, size));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    if (size <= kBudgetInputSize && (elapsed > kBudgetTime || g_peak.load() - liveBefore > kBudgetMemory)) {
        std::abort();
    }
    if (contents.status != vexa::aids::HelpIndexStatus::Done && !contents.keywords.empty()) {
        std::abort();
    }
    std::size_t total = contents.title.size();
    for (const std::string& keyword : contents.keywords) {
        if (keyword.empty()) {
            std::abort();
        }
        total += keyword.size();
    }
    if (total > size) {
        std::abort();
    }
    (void)vexa::aids::helpIndexText("/help/FILE.HLP", contents);
    return 0;
}
