// Width conversion, capitals after a token and the added texts on any bytes. Input:
// class bits, buffer size, token, added text, then the name.
#include <cstdint>
#include <cstring>
#include <string>

#include "ctxmenu/rules/name_rule.h"
#include "ctxmenu/rules/permute_rule.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    const uint8_t bits = in.Byte();
    WidthClasses classes;
    classes.upper = bits & 1, classes.lower = bits & 2, classes.digits = bits & 4;
    classes.symbols = bits & 8, classes.spaces = bits & 16, classes.keepExtension = bits & 32;
    const std::size_t outSize = in.Number(600);
    const std::string token = in.Text(), text = in.Text(), name = in.Text();
    const ExactBuffer nameCopy = ExactText(name), tokenCopy = ExactText(token), textCopy = ExactText(text);

    // Each direction fits exactly in its length plus the terminator; a buffer too small
    // is left empty. Half-width never grows a name, full-width never shrinks it, and the
    // round trip of a converted name gives back the half-width form.
    ExactBuffer half(2 * name.size() + 1), full(2 * name.size() + 1);
    FUZZ_CHECK(ToHalfWidth(nameCopy.data.get(), classes, half.get(), half.size));
    FUZZ_CHECK(ToFullWidth(nameCopy.data.get(), classes, full.get(), full.size));
    FUZZ_CHECK(std::strlen(half.get()) <= name.size() && std::strlen(full.get()) >= name.size());
    ExactBuffer out(outSize);
    const bool fits = ToFullWidth(nameCopy.data.get(), classes, out.get(), out.size);
    FUZZ_CHECK(fits == (std::strlen(full.get()) < outSize));
    if (outSize > 0) FUZZ_CHECK(fits ? std::strcmp(out.get(), full.get()) == 0 : out.get()[0] == '\0');
    ExactBuffer back(2 * std::strlen(full.get()) + 1), again(back.size);
    FUZZ_CHECK(ToHalfWidth(full.get(), classes, back.get(), back.size));
    FUZZ_CHECK(ToHalfWidth(back.get(), classes, again.get(), again.size));
    FUZZ_CHECK(std::strcmp(back.get(), again.get()) == 0);

    // Capitals change only single-byte letters a-z, never the length.
    ExactBuffer lowered = ExactText(name);
    CapitalizeAfterToken(nameCopy.data.get(), tokenCopy.data.get(), lowered.get());
    for (std::size_t i = 0; i < name.size(); ++i)
        FUZZ_CHECK(lowered.get()[i] == name[i] || (name[i] >= 'a' && name[i] <= 'z' && lowered.get()[i] == name[i] - 32));

    // Added texts: the result is the name with the text in one place, or nothing changes.
    for (int where = 0; where < 2; ++where) {
        ExactBuffer target(outSize > name.size() ? outSize : name.size() + 1);
        std::memcpy(target.get(), name.c_str(), name.size() + 1);
        const bool added = where == 0 ? PrependText(target.get(), target.size, textCopy.data.get())
                                      : InsertBeforeExtension(target.get(), target.size, textCopy.data.get());
        FUZZ_CHECK(added == (name.size() + text.size() < target.size));
        FUZZ_CHECK(std::strlen(target.get()) == name.size() + (added ? text.size() : 0));
        if (!added) FUZZ_CHECK(name == target.get());
    }
    ExactBuffer extension(outSize);
    if (DottedExtension(textCopy.data.get(), extension.get(), extension.size)) FUZZ_CHECK(extension.get()[0] == '.');
    return 0;
}
