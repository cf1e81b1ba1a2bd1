// The name replacement rule on code page 932 bytes. Input: option byte, buffer size,
// search text, replacement text, then the name.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "common/rules/cp932_text.h"
#include "ctxmenu/rules/permute_rule.h"
#include "fuzz_input.h"

namespace {

// Where the characters of `text` begin: a lead byte with a byte after it makes one
// character of two bytes.
std::vector<bool> Boundaries(const std::string& text)
{
    std::vector<bool> starts(text.size() + 1, false);
    std::size_t at = 0;
    while (at < text.size()) {
        starts[at] = true;
        at += IsLeadByte932(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
    }
    starts[text.size()] = true;
    return starts;
}

// The first whole-character occurrence at or after `from`, found by trying every start.
std::size_t NaiveFind(const std::string& text, const std::vector<bool>& starts, std::size_t from,
                      const std::string& search)
{
    if (search.empty()) return kTextNotFound;
    for (std::size_t at = from; at + search.size() <= text.size(); ++at)
        if (starts[at] && starts[at + search.size()] && text.compare(at, search.size(), search) == 0) return at;
    return kTextNotFound;
}

// The new name computed in one piece, without a fixed buffer.
std::string Replaced(const std::string& name, const std::string& search, const std::string& replacement,
                     bool every, bool keepExtension)
{
    const std::vector<bool> starts = Boundaries(name);
    std::string result;
    std::size_t rest = 0;
    for (;;) {
        const std::size_t match = NaiveFind(name, starts, rest, search);
        if (match == kTextNotFound) break;
        result += name.substr(rest, match - rest) + replacement;
        rest = match + search.size();
        if (!every) break;
    }
    result += name.substr(rest);
    if (keepExtension)
        result = result.substr(0, FindExtension932(result.c_str())) + name.substr(FindExtension932(name.c_str()));
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    const uint8_t options = in.Byte();
    const std::size_t outSize = in.Number(600);
    const std::string search = in.Text(), replacement = in.Text(), name = in.Text();
    const ExactBuffer nameCopy = ExactText(name), searchCopy = ExactText(search),
                      replacementCopy = ExactText(replacement);
    const std::vector<bool> starts = Boundaries(name);

    // Finding: every start is tried, a match covers whole characters. Every start of a
    // short name is tried as the place to search from.
    for (std::size_t from = 0; from <= (name.size() <= 64 ? name.size() : 0); ++from) {
        if (!starts[from]) continue;
        FUZZ_CHECK(FindText932(nameCopy.data.get(), name.size(), from, searchCopy.data.get(), search.size()) ==
                   NaiveFind(name, starts, from, search));
    }

    // The extension starts on a character of its own, at a dot, with no space or
    // backslash character after it.
    const std::size_t extension = FindExtension932(nameCopy.data.get());
    FUZZ_CHECK(extension <= name.size() && starts[extension]);
    if (extension < name.size()) {
        FUZZ_CHECK(name[extension] == '.');
        for (std::size_t i = extension + 1; i < name.size(); ++i)
            FUZZ_CHECK(!starts[i] || (name[i] != ' ' && name[i] != '\\'));
    }

    bool separator = false;
    for (std::size_t i = 0; i < name.size(); ++i) separator |= starts[i] && (name[i] == '\\' || name[i] == '/');
    FUZZ_CHECK(HasPathSeparator932(nameCopy.data.get()) == separator);

    // The new name is the one computed in one piece; it fits in exactly its length plus
    // the terminator and in nothing shorter, and a buffer too small is left empty.
    const PermuteRule rule{searchCopy.data.get(), replacementCopy.data.get(), (options & 1) != 0, (options & 2) != 0};
    const std::string expected = Replaced(name, search, replacement, rule.everyOccurrence, rule.keepExtension);
    ExactBuffer out(outSize);
    const bool fits = PermuteName(nameCopy.data.get(), rule, out.get(), out.size);
    FUZZ_CHECK(fits == (expected.size() < outSize));
    if (outSize > 0) FUZZ_CHECK(fits ? expected == out.get() : out.get()[0] == '\0');
    ExactBuffer exact(expected.size() + 1);
    FUZZ_CHECK(PermuteName(nameCopy.data.get(), rule, exact.get(), exact.size) && expected == exact.get());
    ExactBuffer shorter(expected.size());
    FUZZ_CHECK(!PermuteName(nameCopy.data.get(), rule, shorter.get(), shorter.size));
    return 0;
}
