// The selection commands' byte rules. Input: two attribute words, the buffer size of
// the search pattern, then the texts: class name, extension and folder.
#include <cstdint>
#include <cstring>
#include <string>

#include "ctxmenu/rules/select_view_rule.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    const uint32_t a = in.Word(), b = in.Word();
    const std::size_t outSize = in.Number(600);
    const std::string className = in.Text(), extension = in.Text(), folder = in.Text();

    const ExactBuffer classCopy = ExactText(className);
    (void)IsSelectionViewClass(classCopy.data.get());   // any class name is read within its bytes
    FUZZ_CHECK(!IsSelectionViewClass(nullptr));

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
    return 0;
}
