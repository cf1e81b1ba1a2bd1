#include "ctxmenu/rules/permute_rule.h"
#include "common/rules/cp932_text.h"

#include <cstring>

namespace {

// Writes the first `limit` bytes of a text fed piece by piece.
class BoundedWriter {
public:
    BoundedWriter(char* out, std::size_t limit) : out_(out), limit_(limit) {}
    void Feed(unsigned char b)
    {
        if (written_ < limit_) out_[written_++] = static_cast<char>(b);
    }
    std::size_t written() const { return written_; }

private:
    char* out_;
    std::size_t limit_;
    std::size_t written_ = 0;
};

// Feeds the replaced name to `sink` byte by byte, so its length and extension are known
// before anything is written to a fixed buffer.
template <typename Sink>
void EmitReplaced(const char* name, const PermuteRule& rule, Sink& sink)
{
    const std::size_t nameLength = std::strlen(name);
    const std::size_t searchLength = std::strlen(rule.search);
    const std::size_t replacementLength = std::strlen(rule.replacement);
    std::size_t rest = 0;   // start of the part of the name not yet consumed
    for (;;) {
        const std::size_t match = FindText932(name, nameLength, rest, rule.search, searchLength);
        if (match == kTextNotFound) break;
        for (std::size_t i = rest; i < match; ++i) sink.Feed(static_cast<unsigned char>(name[i]));
        for (std::size_t i = 0; i < replacementLength; ++i) sink.Feed(static_cast<unsigned char>(rule.replacement[i]));
        rest = match + searchLength;
        if (!rule.everyOccurrence) break;
    }
    for (std::size_t i = rest; i < nameLength; ++i) sink.Feed(static_cast<unsigned char>(name[i]));
}

}  // namespace

bool PermuteName(const char* name, const PermuteRule& rule, char* out, std::size_t outSize)
{
    if (out == nullptr || outSize == 0) return false;
    out[0] = '\0';
    if (name == nullptr || rule.search == nullptr || rule.replacement == nullptr) return false;

    ExtensionScanner932 scanner;
    EmitReplaced(name, rule, scanner);

    std::size_t keep = scanner.length();   // bytes of the replaced name that stay
    const char* oldExtension = "";
    if (rule.keepExtension) {
        keep = scanner.extension();
        oldExtension = name + FindExtension932(name);
    }
    const std::size_t extensionLength = std::strlen(oldExtension);
    if (keep + extensionLength >= outSize) return false;

    BoundedWriter writer(out, keep);
    EmitReplaced(name, rule, writer);
    std::memcpy(out + keep, oldExtension, extensionLength);
    out[keep + extensionLength] = '\0';
    return true;
}
