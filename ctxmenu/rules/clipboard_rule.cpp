#include "ctxmenu/rules/clipboard_rule.h"

#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <cstring>

const char* const kSizeUnitLabels[kSizeUnitCount] = {"B", "KB (/1000)", "KB (/1024)", "MB (/1000/1000)",
                                                     "MB (/1024/1024)"};
const char* const kDateFormatLabels[kDateFormatCount] = {"yyyy/mm/dd", "yyyy年mm月dd日"};
const char* const kTimeFormatLabels[kTimeFormatCount] = {"hh:mm:ss", "hh時mm分ss秒"};

namespace {

struct SizeUnit {
    std::uint64_t divisor;
    const char* text;
};
const SizeUnit kSizeUnits[kSizeUnitCount] = {
    {1, ""}, {1000, "KB"}, {1024, "KB"}, {1000000, "MB"}, {1048576, "MB"},
};

const SizeUnit& UnitOf(int index)
{
    return kSizeUnits[index >= 1 && index <= 4 ? index : 0];
}

// Appends formatted text at `used`; false when it does not fit whole.
bool Append(char* line, std::size_t lineSize, std::size_t& used, const char* format, ...)
{
    if (used >= lineSize) return false;
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(line + used, lineSize - used, format, args);
    va_end(args);
    if (written < 0 || static_cast<std::size_t>(written) >= lineSize - used) return false;
    used += static_cast<std::size_t>(written);
    return true;
}

}  // namespace

std::uint64_t SizeFigure(std::uint64_t size, int unitIndex)
{
    const std::uint64_t divisor = UnitOf(unitIndex).divisor;
    // Rounded up without the overflow of size + divisor - 1 near the top of the range.
    return size / divisor + (size % divisor != 0 ? 1 : 0);
}

const char* SizeUnitText(int unitIndex) { return UnitOf(unitIndex).text; }

bool FormatThousands(char* out, std::size_t outSize, std::uint64_t value)
{
    if (out == nullptr || outSize == 0) return false;
    out[0] = '\0';
    char digits[24];
    const int count = std::snprintf(digits, sizeof digits, "%" PRIu64, value);
    if (count <= 0) return false;
    const std::size_t length = static_cast<std::size_t>(count) + static_cast<std::size_t>(count - 1) / 3;
    if (length >= outSize) return false;
    std::size_t at = 0;
    for (int i = 0; i < count; ++i) {
        // A separator before every digit followed by a positive multiple of 3 digits.
        if (i > 0 && (count - i) % 3 == 0) out[at++] = ',';
        out[at++] = digits[i];
    }
    out[at] = '\0';
    return true;
}

bool FormatListLine(const ListFormat& format, const ListItemFacts& facts, char* line, std::size_t lineSize)
{
    if (line == nullptr || lineSize == 0) return false;
    line[0] = '\0';
    const char* name = facts.name != nullptr ? facts.name : "";
    const int width = format.width >= 0 && format.width <= 255 ? format.width : 0;
    std::size_t used = 0;
    bool ok = Append(line, lineSize, used, "%-*s", width, name);

    if (ok && format.sizeFlag == 1) {
        const std::uint64_t figure = SizeFigure(facts.size, format.sizeUnit);
        const char* unit = SizeUnitText(format.sizeUnit);
        if (format.thousandsFlag == 1) {
            char grouped[32];
            ok = FormatThousands(grouped, sizeof grouped, figure) &&
                 Append(line, lineSize, used, "  %10s %s", grouped, unit);
        } else {
            ok = Append(line, lineSize, used, "  %10" PRIu64 " %s", figure, unit);
        }
    }
    // An item whose time could not be read shows dashes of the same layout.
    if (ok && format.dateFlag == 1) {
        if (format.dateFormat == 1) {
            ok = facts.timeKnown ? Append(line, lineSize, used, "  %04u年%02u月%02u日", facts.year, facts.month, facts.day)
                                 : Append(line, lineSize, used, "  ----年--月--日");
        } else {
            ok = facts.timeKnown ? Append(line, lineSize, used, "  %04u/%02u/%02u", facts.year, facts.month, facts.day)
                                 : Append(line, lineSize, used, "  ----/--/--");
        }
    }
    if (ok && format.timeFlag == 1) {
        if (format.timeFormat == 1) {
            ok = facts.timeKnown
                     ? Append(line, lineSize, used, "  %02u時%02u分%02u秒", facts.hour, facts.minute, facts.second)
                     : Append(line, lineSize, used, "  --時--分--秒");
        } else {
            ok = facts.timeKnown ? Append(line, lineSize, used, "  %02u:%02u:%02u", facts.hour, facts.minute, facts.second)
                                 : Append(line, lineSize, used, "  --:--:--");
        }
    }
    if (ok && format.versionFlag == 1) {
        ok = Append(line, lineSize, used, "  %u.%u.%u.%u", facts.version[0], facts.version[1], facts.version[2],
                    facts.version[3]);
    }
    if (ok) ok = Append(line, lineSize, used, "\r\n");
    if (!ok) line[0] = '\0';
    return ok;
}

bool FormatBareLine(const char* text, char* line, std::size_t lineSize)
{
    if (line == nullptr || lineSize == 0) return false;
    line[0] = '\0';
    std::size_t used = 0;
    if (Append(line, lineSize, used, "%s\r\n", text != nullptr ? text : "")) return true;
    line[0] = '\0';
    return false;
}

bool IndentListLine(unsigned depth, char* line, std::size_t lineSize)
{
    if (line == nullptr || lineSize == 0) return false;
    const void* end = std::memchr(line, '\0', lineSize);
    if (end == nullptr) return false;   // no terminator: not a line
    const std::size_t length = static_cast<std::size_t>(static_cast<const char*>(end) - line);
    if (depth > (lineSize - 1 - length) / kIndentWidth) return false;
    const std::size_t indent = static_cast<std::size_t>(depth) * kIndentWidth;
    std::memmove(line + indent, line, length + 1);
    std::memset(line, ' ', indent);
    return true;
}
