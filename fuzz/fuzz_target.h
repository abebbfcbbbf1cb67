// One fuzz target: a function over arbitrary bytes that must neither crash
// nor break the invariants it checks.
//
//   ZENTORA_FUZZ_TARGET(name) { ... use data, size ...; return 0; }
//
// Built with ZENTORA_LIBFUZZER the target becomes libFuzzer's entry point;
// otherwise it registers under its name, so that the regression test replays
// the saved inputs through the very same function.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zentora::fuzz {

using Entry = int (*)(const uint8_t* data, size_t size);

// Records `entry` under `name` (regression test only).
bool registerTarget(const char* name, Entry entry);

// A broken invariant: libFuzzer keeps the input as a crash, the regression
// test reports the input file.
[[noreturn]] void fail(const char* file, int line, const char* condition);

// Splits fuzz input into pieces: each piece() is the text up to the next
// newline (or the rest); rest() is everything left.  Seeds stay readable.
class Input {
public:
    Input(const uint8_t* data, size_t size) : text_(reinterpret_cast<const char*>(data), size) {}

    std::string_view piece() {
        const size_t end = text_.find('\n');
        std::string_view out = text_.substr(0, end);
        text_.remove_prefix(end == std::string_view::npos ? text_.size() : end + 1);
        return out;
    }
    // A number from the next piece (decimal, optional minus; garbage reads 0,
    // overflow wraps as in 32-bit arithmetic).
    int number() {
        std::string_view p = piece();
        bool negative = !p.empty() && p.front() == '-';
        if (negative) p.remove_prefix(1);
        uint32_t value = 0;
        for (char c : p) {
            if (c < '0' || c > '9') break;
            value = value * 10u + uint32_t(c - '0');
        }
        return int(negative ? 0u - value : value);
    }
    std::string_view rest() {
        std::string_view out = text_;
        text_ = {};
        return out;
    }

private:
    std::string_view text_;
};

}  // namespace zentora::fuzz

#define FUZZ_CHECK(condition) ((condition) ? (void)0 : ::zentora::fuzz::fail(__FILE__, __LINE__, #condition))

#if defined(ZENTORA_LIBFUZZER)
#define ZENTORA_FUZZ_TARGET(name)                                                                                      \
    static int zentoraFuzz_##name(const uint8_t* data, size_t size);                                                   \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return zentoraFuzz_##name(data, size); } \
    static int zentoraFuzz_##name(const uint8_t* data, size_t size)
#else
#define ZENTORA_FUZZ_TARGET(name)                                     \
    static int zentoraFuzz_##name(const uint8_t* data, size_t size);  \
    [[maybe_unused]] static const bool zentoraFuzzRegistered_##name = \
        ::zentora::fuzz::registerTarget(#name, zentoraFuzz_##name);   \
    static int zentoraFuzz_##name(const uint8_t* data, size_t size)
#endif
