// Fuzz target of the file list lines. Input: the eleven format values, the size, the
// time, the version, the line buffer size, the depth, then the name. Checks that a line
// is whole or refused, never cut, and that the figures keep their value.
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <string>

#include "ctxmenu/rules/clipboard_rule.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    ListFormat format;
    int* fields[] = {&format.pathFlag, &format.sizeFlag, &format.dateFlag, &format.timeFlag, &format.versionFlag,
                     &format.width, &format.sizeUnit, &format.dateFormat, &format.timeFormat,
                     &format.thousandsFlag, &format.subfolderFlag};
    for (int* field : fields) *field = static_cast<int8_t>(in.Byte());
    format.width = static_cast<int>(in.Number(300)) - 20;   // also widths outside 0..255
    ListItemFacts facts = {};
    facts.size = static_cast<uint64_t>(in.Word()) << 32 | in.Word();
    facts.timeKnown = in.Flag();
    for (unsigned* part : {&facts.year, &facts.month, &facts.day, &facts.hour, &facts.minute, &facts.second})
        *part = static_cast<unsigned>(in.Number(70000));
    for (unsigned& number : facts.version) number = static_cast<unsigned>(in.Number(65535));
    const std::size_t lineSize = in.Number(kListLineSize);
    const unsigned depth = static_cast<unsigned>(in.Number(400));
    const std::string name = in.Rest();
    facts.name = name.c_str();

    // The figure is the size rounded up to whole units of the chosen divisor.
    static const uint64_t kDivisors[] = {1, 1000, 1024, 1000000, 1048576};
    const unsigned __int128 unit = kDivisors[format.sizeUnit >= 1 && format.sizeUnit <= 4 ? format.sizeUnit : 0];
    const unsigned __int128 figure = SizeFigure(facts.size, format.sizeUnit);
    FUZZ_CHECK(figure * unit >= facts.size && (figure == 0 || (figure - 1) * unit < facts.size));
    char grouped[32];
    FUZZ_CHECK(FormatThousands(grouped, sizeof grouped, facts.size));
    std::string digits;
    for (const char* c = grouped; *c != '\0'; ++c)
        if (*c != ',') digits.push_back(*c);
    char plain[24];
    std::snprintf(plain, sizeof plain, "%" PRIu64, facts.size);
    FUZZ_CHECK(digits == plain);

    // A line in a roomy buffer, then in one of the given size: the same text or refused.
    ExactBuffer roomy(4 * kListLineSize + name.size());
    const bool fits = FormatListLine(format, facts, roomy.get(), roomy.size);
    FUZZ_CHECK(fits);
    const std::string whole = roomy.get();
    const std::string shown = name.c_str();   // the name ends at its first zero byte
    FUZZ_CHECK(whole.compare(0, shown.size(), shown) == 0);
    FUZZ_CHECK(whole.size() >= 2 && whole.compare(whole.size() - 2, 2, "\r\n") == 0);
    ExactBuffer line(lineSize);
    if (FormatListLine(format, facts, line.get(), line.size)) {
        FUZZ_CHECK(whole == line.get());
        if (IndentListLine(depth, line.get(), line.size))
            FUZZ_CHECK(std::string(line.get()) == std::string(depth * kIndentWidth, ' ') + whole);
        else
            FUZZ_CHECK(whole == line.get());
    } else if (lineSize > 0) {
        FUZZ_CHECK(line.get()[0] == '\0' && whole.size() >= lineSize);
    }
    return 0;
}
