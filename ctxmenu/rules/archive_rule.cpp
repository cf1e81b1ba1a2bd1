#include "ctxmenu/rules/archive_rule.h"

#include <cstring>

#include "common/rules/cp932_text.h"
#include "ctxmenu/rules/permute_rule.h"

const ArchiveFormat kArchiveFormats[kArchiveFormatCount] = {
    {".LZH", "unlha32.dll", "UnlhaCheckArchive"},
    {".ARJ", "unarj32.dll", "UnarjCheckArchive"},
    {".ISH", "ish32.dll", "IshCheckArchive"},
    {".TAR", "tar32.dll", "TarCheckArchive"},
    {".CAB", "cab32.dll", "CabCheckArchive"},
    {".RAR", "unrar32.dll", "UnrarCheckArchive"},
    {".ZIP", "unzip32.dll", "UnZipCheckArchive"},
};

namespace {

char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Offset where the final component of `path` begins: after the last backslash that is a
// character of its own (a trail byte 5C is not one).
std::size_t FinalComponent(const char* path, std::size_t length)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < length; ++i) {
        if (IsLeadByte932(static_cast<unsigned char>(path[i])) && i + 1 < length) {
            ++i;
        } else if (path[i] == '\\') {
            start = i + 1;
        }
    }
    return start;
}

// The longest prefix of `text` no longer than `limit` bytes that ends on a character
// boundary.
std::size_t WholeCharacters(const char* text, std::size_t limit)
{
    std::size_t at = 0;
    while (text[at] != '\0') {
        const std::size_t step = IsLeadByte932(static_cast<unsigned char>(text[at])) && text[at + 1] != '\0' ? 2 : 1;
        if (at + step > limit) break;
        at += step;
    }
    return at;
}

// A folder named from the root of a drive ("C:\", "C:/") or a network path ("\\"):
// nothing in it depends on the current folder.
bool IsFullFolderPath(const char* first, std::size_t length)
{
    if (length >= 2 && first[0] == '\\' && first[1] == '\\') return true;
    const bool drive = (first[0] >= 'A' && first[0] <= 'Z') || (first[0] >= 'a' && first[0] <= 'z');
    return length >= 3 && drive && first[1] == ':' && (first[2] == '\\' || first[2] == '/');
}

}  // namespace

int ArchiveFormatOf(const char* path)
{
    if (path == nullptr) return -1;
    const char* extension = path + FindExtension932(path);
    // The table's extensions are ASCII, so a byte-wise comparison without regard to case
    // can never match half of a double-byte character.
    for (std::size_t f = 0; f < kArchiveFormatCount; ++f) {
        const char* wanted = kArchiveFormats[f].extension;
        std::size_t i = 0;
        while (wanted[i] != '\0' && UpperAscii(extension[i]) == wanted[i]) ++i;
        if (wanted[i] == '\0' && extension[i] == '\0') return static_cast<int>(f);
    }
    return -1;
}

bool FormatDamagedMessage(char* out, std::size_t outSize, const char* path)
{
    static const char kOpening[] = "書庫が壊れています。[";
    static const char kClosing[] = "]";
    if (out == nullptr || outSize == 0) return false;
    out[0] = '\0';
    const std::size_t fixed = sizeof kOpening - 1 + sizeof kClosing - 1;
    if (path == nullptr || fixed >= outSize) return false;
    const std::size_t pathLength = WholeCharacters(path, outSize - 1 - fixed);
    std::memcpy(out, kOpening, sizeof kOpening - 1);
    std::memcpy(out + sizeof kOpening - 1, path, pathLength);
    std::memcpy(out + sizeof kOpening - 1 + pathLength, kClosing, sizeof kClosing);
    return true;
}

std::size_t FormatLogLine(char* out, std::size_t outSize, bool sound, const char* path)
{
    if (out == nullptr || outSize == 0) return 0;
    out[0] = '\0';
    if (path == nullptr) return 0;
    const char* word = sound ? "OK : " : "NG : ";
    const std::size_t pathLength = std::strlen(path);
    const std::size_t length = 5 + pathLength + 2;
    if (length >= outSize) return 0;
    std::memcpy(out, word, 5);
    std::memcpy(out + 5, path, pathLength);
    std::memcpy(out + 5 + pathLength, "\r\n", 3);
    return length;
}

void ProposeLogPath(char* out, std::size_t outSize, const char* firstItem)
{
    if (out == nullptr || outSize == 0) return;
    out[0] = '\0';
    if (sizeof kArchiveLogName > outSize) return;
    std::memcpy(out, kArchiveLogName, sizeof kArchiveLogName);
    if (firstItem == nullptr) return;
    const std::size_t length = std::strlen(firstItem);
    // Everything up to the last backslash is the folder; for a drive root ("C:\") the
    // whole path is.
    const std::size_t folder = FinalComponent(firstItem, length);
    if (folder == 0 || folder + sizeof kArchiveLogName > outSize) return;
    std::memcpy(out, firstItem, folder);
    std::memcpy(out + folder, kArchiveLogName, sizeof kArchiveLogName);
}

bool NextListedFolder(const char** cursor, char* out, std::size_t outSize)
{
    if (cursor == nullptr || *cursor == nullptr || out == nullptr || outSize == 0) return false;
    const char* p = *cursor;
    while (*p != '\0') {
        const char* end = std::strchr(p, ';');
        if (end == nullptr) end = p + std::strlen(p);
        const char* first = p;
        const char* last = end;
        if (last - first >= 2 && *first == '"' && last[-1] == '"') {
            ++first;
            --last;
        }
        p = *end == ';' ? end + 1 : end;
        const std::size_t length = static_cast<std::size_t>(last - first);
        if (length == 0 || length >= outSize || !IsFullFolderPath(first, length)) continue;
        std::memcpy(out, first, length);
        out[length] = '\0';
        *cursor = p;
        return true;
    }
    *cursor = p;
    out[0] = '\0';
    return false;
}
