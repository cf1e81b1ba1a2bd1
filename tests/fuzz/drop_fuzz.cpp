// Fuzz target of the drop commands' name and path rules. Input: a counter byte, then
// two texts separated by a zero byte (a drop folder and a dragged item's path); each
// rule must stay inside its buffers and keep its promises about them.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "common/rules/cp932_text.h"
#include "dragdrop/rules/drop_rule.h"

namespace {

void Check(bool condition)
{
    if (!condition) __builtin_trap();
}

// A result must be terminated inside its buffer, or be empty after a refusal.
void CheckResult(bool ok, const char* out, std::size_t size)
{
    Check(std::memchr(out, '\0', size) != nullptr);
    if (!ok) Check(out[0] == '\0');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const unsigned counter = data[0] * 16777619u;
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t split = rest.find('\0');
    const std::string folder = rest.substr(0, split);
    const std::string item = split == std::string::npos ? std::string() : rest.substr(split + 1).c_str();

    char name[260];
    const bool named = FolderNameForItem(item.c_str(), (counter & 1) != 0, name, sizeof name);
    CheckResult(named, name, sizeof name);
    if (named) {
        // The name starts the item's final component, is never empty and never ends in
        // what the file system would drop.
        const std::size_t length = std::strlen(name);
        Check(length > 0 && name[length - 1] != ' ' && name[length - 1] != '.');
        Check(std::strncmp(item.c_str() + FinalComponentOffset(item.c_str()), name, length) == 0);
    }
    Check(FinalComponentOffset(item.c_str()) <= item.size());

    char wanted[260];
    const bool joined = JoinUnderFolder(wanted, sizeof wanted, folder.c_str(), named ? name : item.c_str());
    CheckResult(joined, wanted, sizeof wanted);

    char candidate[260];
    CheckResult(FormatCandidate(candidate, sizeof candidate, wanted, counter), candidate, sizeof candidate);

    // Small buffers too: every size from 1 up.
    char list[kOperationListSize];
    const std::size_t listSize = 1 + counter % sizeof list;
    const bool listed = BuildOperationList(list, listSize, folder.c_str());
    if (listed) {
        Check(std::strlen(list) == folder.size());
        Check(list[folder.size() + 1] == '\0');
    } else {
        for (std::size_t i = 0; i < listSize; ++i) Check(list[i] == '\0');
    }

    // Every path is inside itself.
    if (!folder.empty()) Check(IsSameOrInside(folder.c_str(), folder.c_str()));
    IsSameOrInside(item.c_str(), folder.c_str());
    return 0;
}
