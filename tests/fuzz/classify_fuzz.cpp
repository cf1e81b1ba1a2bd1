// The rules of "classify by modified date". Input: the date (three words), the buffer
// sizes of the date name, the folder and the target, the name offset, then the texts:
// class name, date name and full path.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "ctxmenu/rules/classify_rule.h"
#include "ctxmenu/rules/select_view_rule.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    const uint32_t year = in.Word(), month = in.Word(), day = in.Word();
    const std::size_t nameSize = in.Number(40);
    const std::size_t folderSize = in.Number(600), targetSize = in.Number(600);
    const std::size_t nameOffset = in.Number(600);
    const std::string className = in.Text(), dateName = in.Text(), fullPath = in.Text();

    // Classifying is offered only in a view the selection commands drive too.
    const ExactBuffer classCopy = ExactText(className);
    FUZZ_CHECK(!IsClassifyViewClass(classCopy.data.get()) || IsSelectionViewClass(classCopy.data.get()));
    FUZZ_CHECK(!IsClassifyViewClass(nullptr));

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
        return 0;
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
    return 0;
}
