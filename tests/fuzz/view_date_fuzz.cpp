// The view commands' byte rules and the date-folder rules. Input: attribute words, the
// date (three words), two buffer sizes, the name offset, then the texts: class name,
// extension, folder, date name and full path.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "ctxmenu/rules/classify_rule.h"
#include "ctxmenu/rules/select_view_rule.h"
#include "fuzz_input.h"

namespace {

void CheckViewRules(uint32_t a, uint32_t b, const std::string& className, const std::string& extension,
                    const std::string& folder, std::size_t outSize)
{
    const ExactBuffer classCopy = ExactText(className);
    FUZZ_CHECK(!IsClassifyViewClass(classCopy.data.get()) || IsSelectionViewClass(classCopy.data.get()));
    FUZZ_CHECK(!IsSelectionViewClass(nullptr) && !IsClassifyViewClass(nullptr));

    // The tail is the extension itself, or "." for none; never empty.
    const ExactBuffer extensionCopy = ExactText(extension);
    const char* tail = ExtensionSearchTail(extensionCopy.data.get());
    FUZZ_CHECK(tail != nullptr && tail[0] != '\0');
    FUZZ_CHECK(extension.empty() ? std::strcmp(tail, ".") == 0 : tail == extensionCopy.data.get());

    const std::string expected = folder + "\\*" + tail;
    const ExactBuffer folderCopy = ExactText(folder);
    ExactBuffer out(outSize);
    const bool built = BuildSearchPattern(out.get(), out.size, folderCopy.data.get(), tail);
    FUZZ_CHECK(built == (expected.size() < outSize));
    if (outSize > 0) FUZZ_CHECK(built ? expected == out.get() : out.get()[0] == '\0');

    // Same kind and same attributes compare only their bits, both ways.
    FUZZ_CHECK(SameKind(a, b) == SameKind(b, a) && SameKind(a, a));
    FUZZ_CHECK(SameSelectAttributes(a, b) == SameSelectAttributes(b, a) && SameSelectAttributes(a, a));
    FUZZ_CHECK(!SameSelectAttributes(a, b) || SameKind(a, b));
    FUZZ_CHECK(SameSelectAttributes(a, b) == SameSelectAttributes(a | ~kSelectAttributeMask, b));
}

void CheckDateFolder(uint32_t year, uint32_t month, uint32_t day, std::size_t nameSize,
                     const std::string& fullPath, std::size_t nameOffset, const std::string& dateName,
                     std::size_t folderSize, std::size_t targetSize)
{
    char reference[64];
    const int length = std::snprintf(reference, sizeof reference, "%04u%02u%02u", year, month, day);
    ExactBuffer name(nameSize);
    const bool formatted = FormatDateFolderName(name.get(), name.size, year, month, day);
    FUZZ_CHECK(formatted == (static_cast<std::size_t>(length) < nameSize));
    if (nameSize > 0) FUZZ_CHECK(formatted ? std::strcmp(name.get(), reference) == 0 : name.get()[0] == '\0');
    // Any 16-bit day fits the name buffer; a calendar day reads back as the same day.
    if (year <= 0xFFFF && month <= 0xFFFF && day <= 0xFFFF) {
        char room[kDateFolderNameSize];
        FUZZ_CHECK(FormatDateFolderName(room, sizeof room, year, month, day));
        if (year <= 9999 && month <= 99 && day <= 99) {
            unsigned y = 0, m = 0, d = 0;
            FUZZ_CHECK(std::strlen(room) == 8 && std::sscanf(room, "%4u%2u%2u", &y, &m, &d) == 3);
            FUZZ_CHECK(y == year && m == month && d == day);
        }
    }

    // The folder replaces the name part; the target is the folder, "\" and the name.
    const ExactBuffer pathCopy = ExactText(fullPath), dateCopy = ExactText(dateName);
    ExactBuffer folder(folderSize), target(targetSize);
    const bool built = BuildClassifyTarget(pathCopy.data.get(), nameOffset, dateCopy.data.get(), folder.get(),
                                           folder.size, target.get(), target.size);
    if (folderSize == 0 || targetSize == 0) {
        FUZZ_CHECK(!built);
        return;
    }
    if (nameOffset >= fullPath.size()) {
        FUZZ_CHECK(!built);
    } else {
        const std::string expectedFolder = fullPath.substr(0, nameOffset) + dateName;
        const std::string expectedTarget = expectedFolder + "\\" + fullPath.substr(nameOffset);
        FUZZ_CHECK(built == (expectedFolder.size() < folderSize && expectedTarget.size() < targetSize));
        if (built) FUZZ_CHECK(expectedFolder == folder.get() && expectedTarget == target.get());
    }
    if (!built) FUZZ_CHECK(folder.get()[0] == '\0' && target.get()[0] == '\0');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    const uint32_t a = in.Word(), b = in.Word();
    const uint32_t year = in.Word(), month = in.Word(), day = in.Word();
    const std::size_t nameSize = in.Number(40);
    const std::size_t outSize = in.Number(600), folderSize = in.Number(600), targetSize = in.Number(600);
    const std::size_t nameOffset = in.Number(600);
    const std::string className = in.Text(), extension = in.Text(), folder = in.Text();
    const std::string dateName = in.Text(), fullPath = in.Text();
    CheckViewRules(a, b, className, extension, folder, outSize);
    CheckDateFolder(year, month, day, nameSize, fullPath, nameOffset, dateName, folderSize, targetSize);
    return 0;
}
