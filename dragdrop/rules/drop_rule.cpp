#include "dragdrop/rules/drop_rule.h"
#include "common/rules/cp932_text.h"

#include <cstdio>
#include <cstring>

namespace {

char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when the last character of `text` (`length` bytes, not 0) is a backslash.
bool EndsInBackslash(const char* text, std::size_t length)
{
    return FinalComponentOffset(text) == length;
}

// The first `length` bytes of `name` without the trailing spaces and dots the file
// system drops from a name it stores. Neither byte is ever the second of a double-byte
// character.
std::size_t StoredLength(const char* name, std::size_t length)
{
    while (length > 0 && (name[length - 1] == ' ' || name[length - 1] == '.')) --length;
    return length;
}

}  // namespace

bool FolderNameForItem(const char* path, bool dropExtension, char* out, std::size_t outSize)
{
    if (out == nullptr || outSize == 0) return false;
    out[0] = '\0';
    if (path == nullptr) return false;
    const char* name = path + FinalComponentOffset(path);
    const std::size_t whole = std::strlen(name);
    std::size_t length = StoredLength(name, dropExtension ? FindExtension932(name) : whole);
    // A name that would be left empty (".profile", "..x") keeps its extension.
    if (length == 0) length = StoredLength(name, whole);
    if (length == 0 || length >= outSize) return false;
    std::memcpy(out, name, length);
    out[length] = '\0';
    return true;
}

bool JoinUnderFolder(char* out, std::size_t outSize, const char* folder, const char* name)
{
    if (out == nullptr || outSize == 0) return false;
    out[0] = '\0';
    if (folder == nullptr || name == nullptr) return false;
    const std::size_t lf = std::strlen(folder), ln = std::strlen(name);
    const std::size_t separator = (lf > 0 && EndsInBackslash(folder, lf)) ? 0 : 1;
    if (lf + separator + ln >= outSize) return false;
    std::memcpy(out, folder, lf);
    if (separator) out[lf] = '\\';
    std::memcpy(out + lf + separator, name, ln);
    out[lf + separator + ln] = '\0';
    return true;
}

bool FormatCandidate(char* out, std::size_t outSize, const char* wanted, unsigned counter)
{
    if (out == nullptr || outSize == 0) return false;
    out[0] = '\0';
    if (wanted == nullptr) return false;
    char suffix[16];
    const int n = std::snprintf(suffix, sizeof suffix, "(%u)", counter);
    const std::size_t lw = std::strlen(wanted);
    if (n <= 0 || lw + static_cast<std::size_t>(n) >= outSize) return false;
    std::memcpy(out, wanted, lw);
    std::memcpy(out + lw, suffix, static_cast<std::size_t>(n) + 1);
    return true;
}

bool BuildOperationList(char* out, std::size_t outSize, const char* path)
{
    if (out == nullptr || outSize == 0) return false;
    std::memset(out, 0, outSize);
    if (path == nullptr) return false;
    const std::size_t length = std::strlen(path);
    if (length == 0 || length + 2 > outSize) return false;
    std::memcpy(out, path, length);
    return true;
}

bool IsSameOrInside(const char* inner, const char* outer)
{
    if (inner == nullptr || outer == nullptr || outer[0] == '\0') return false;
    const std::size_t length = std::strlen(outer);
    std::size_t at = 0;
    while (at < length) {
        const std::size_t bytes = CharLength932(outer, length, at);
        if (bytes == 2) {
            if (inner[at] != outer[at] || inner[at + 1] != outer[at + 1]) return false;
        } else if (FoldAscii(inner[at]) != FoldAscii(outer[at])) {
            return false;
        }
        at += bytes;
    }
    // Whole components: the outer path ends here, at a backslash of its own, or at a
    // backslash of the inner one.
    return inner[at] == '\0' || inner[at] == '\\' || EndsInBackslash(outer, length);
}
