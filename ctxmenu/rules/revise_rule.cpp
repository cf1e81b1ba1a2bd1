#include "ctxmenu/rules/revise_rule.h"

#include <limits>

namespace {

constexpr std::uint64_t kMax64 = std::numeric_limits<std::uint64_t>::max();

// a * b + c, false when it does not fit in 64 bits.
bool MultiplyAdd(std::uint64_t a, std::uint64_t b, std::uint64_t c, std::uint64_t* out)
{
    if (b != 0 && a > kMax64 / b) return false;
    const std::uint64_t product = a * b;
    if (product > kMax64 - c) return false;
    *out = product + c;
    return true;
}

}  // namespace

bool ReviseOffset(std::uint64_t hours, std::uint64_t minutes, std::uint64_t seconds, std::uint64_t* offset)
{
    if (offset == nullptr) return false;
    std::uint64_t total = 0;
    if (!MultiplyAdd(hours, 3600, 0, &total)) return false;
    if (!MultiplyAdd(minutes, 60, total, &total)) return false;
    if (total > kMax64 - seconds) return false;
    total += seconds;
    if (!MultiplyAdd(total, kUnitsPerSecond, 0, &total)) return false;
    if (total > kLatestFileTime) return false;
    *offset = total;
    return true;
}

bool ShiftFileTime(std::uint64_t time, std::uint64_t offset, bool earlier, std::uint64_t* out)
{
    if (out == nullptr) return false;
    std::uint64_t result;
    if (earlier) {
        if (offset > time) return false;
        result = time - offset;
    } else {
        if (offset > kMax64 - time) return false;
        result = time + offset;
    }
    if (result < kEarliestFileTime || result > kLatestFileTime) return false;
    *out = result;
    return true;
}
