// Width conversion, letter case, capitals after a token, the added texts and the whole
// arrangement on any bytes. Input: class bits, buffer size, token, added text, the name,
// then the arrangement's modes and steps, the extension text and the start text (the
// added text is the end text).
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "common/rules/cp932_text.h"
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

    // Letter case keeps the length and every character boundary, so it never makes a
    // path separator; each case is stable, also after the other one.
    ExactBuffer upper = ExactText(name), lower = ExactText(name);
    UpperCase932(upper.get()), LowerCase932(lower.get());
    ExactBuffer upperOfLower = ExactText(lower.get()), lowerOfUpper = ExactText(upper.get());
    UpperCase932(upperOfLower.get()), LowerCase932(lowerOfUpper.get());
    FUZZ_CHECK(std::strlen(upper.get()) == name.size() && std::strlen(lower.get()) == name.size());
    FUZZ_CHECK(HasPathSeparator932(upper.get()) == HasPathSeparator932(name.c_str()));
    FUZZ_CHECK(std::strcmp(upperOfLower.get(), upper.get()) == 0 && std::strcmp(lowerOfUpper.get(), lower.get()) == 0);

    // The whole arrangement. A text fills its field to the last byte, without a
    // terminator, when it is longer than the field.
    const uint8_t mode = in.Byte(), steps = in.Byte();
    const std::string newExtension = in.Text(), start = in.Text();
    const std::unique_ptr<NameOptions> options(new NameOptions);
    options->width = static_cast<WidthMode>(mode % 3);
    options->letterCase = static_cast<CaseMode>(mode / 3 % 4);
    options->classes = classes;
    options->changeExtension = steps & 1, options->addStart = steps & 2, options->addEnd = steps & 4;
    const std::pair<char*, const std::string*> fields[] = {
        {options->token, &token}, {options->extension, &newExtension}, {options->start, &start}, {options->end, &text}};
    for (const auto& field : fields)
        std::memcpy(field.first, field.second->c_str(), std::min(field.second->size() + 1, kPathSize));
    ExactBuffer whole(kArrangedNameSize), fitted(outSize);
    const bool arranged = ArrangeName(nameCopy.data.get(), *options, whole.get(), whole.size);
    FUZZ_CHECK(whole.Terminated() && (arranged || (whole.get()[0] == '\0' && (name.size() >= kPathSize || options->changeExtension))));
    const bool inRoom = ArrangeName(nameCopy.data.get(), *options, fitted.get(), fitted.size);
    FUZZ_CHECK(inRoom == (arranged && std::strlen(whole.get()) < outSize));
    if (outSize > 0) FUZZ_CHECK(std::strcmp(fitted.get(), inRoom ? whole.get() : "") == 0);
    // Without texts, arranging again changes nothing, unless the case moves letters into a
    // width class of their own.
    if (arranged && (steps & 7) == 0 && options->letterCase != CaseMode::CapitalAfterToken &&
        (options->width == WidthMode::None || classes.upper == classes.lower)) {
        ExactBuffer again(kArrangedNameSize);
        FUZZ_CHECK(ArrangeName(whole.get(), *options, again.get(), again.size) && std::strcmp(again.get(), whole.get()) == 0);
    }
    return 0;
}
