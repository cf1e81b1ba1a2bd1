// Serial numbers, new paths and the order of the items on any bytes. Input: fill flag,
// digit count, buffer size, number, folder, prefix, then names to sort.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ctxmenu/rules/cnum_rule.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    const bool zeroFill = in.Flag();
    const std::uint64_t digits = in.Word() % 1000;
    const std::size_t outSize = in.Number(600);
    const std::uint64_t high = in.Word();
    const std::uint64_t number = high << 32 | in.Word();
    const std::string folder = in.Text(), prefix = in.Text();

    // The number text is the decimal number, zero-filled to at least `digits`.
    ExactBuffer text(outSize);
    const std::string plain = std::to_string(number);
    const std::size_t width = zeroFill && digits > plain.size() ? static_cast<std::size_t>(digits) : plain.size();
    const bool fits = FormatSerialNumber(number, zeroFill, digits, text.get(), text.size);
    FUZZ_CHECK(fits == (width < outSize));
    if (fits) FUZZ_CHECK(std::strlen(text.get()) == width && std::strtoull(text.get(), nullptr, 10) == number);

    // The new path is the four parts joined, or nothing when it does not fit.
    const ExactBuffer folderCopy = ExactText(folder), prefixCopy = ExactText(prefix);
    const std::string name = prefix + ".x";
    const std::size_t kept = KeptExtensionOffset(name.c_str());
    FUZZ_CHECK(kept <= name.size());
    ExactBuffer path(outSize);
    const std::string joined = folder + prefix + plain + (name.c_str() + kept);
    const bool built = BuildSerialPath(folderCopy.data.get(), prefixCopy.data.get(), plain.c_str(),
                                       name.c_str() + kept, path.get(), path.size);
    FUZZ_CHECK(built == (joined.size() < outSize));
    if (built) FUZZ_CHECK(joined == path.get());

    // The sort gives an order consistent with the comparison, ties in selection order.
    std::vector<std::string> names;
    while (names.size() < 64) {
        std::string n = in.Text();
        if (n.empty()) break;
        names.push_back(n);
    }
    std::vector<SerialItem> items;
    for (std::size_t i = 0; i < names.size(); ++i)
        items.push_back(SerialItem{names[i].c_str(), i, (names[i][0] & 1) != 0, static_cast<unsigned char>(names[i][0])});
    for (int key = 0; key < 2; ++key) {
        std::vector<SerialItem> sorted = items;
        SortSerialItems(sorted.data(), sorted.size(), key ? SerialSortKey::Name : SerialSortKey::Date, true);
        for (std::size_t i = 1; i < sorted.size(); ++i) {
            if (key == 1) {
                const int order = CompareNameAscending(sorted[i - 1], sorted[i]);
                FUZZ_CHECK(order < 0 || (order == 0 && sorted[i - 1].listIndex < sorted[i].listIndex));
                FUZZ_CHECK(CompareNameAscending(sorted[i], sorted[i - 1]) == -order);
            } else if (sorted[i - 1].timeKnown) {
                FUZZ_CHECK(sorted[i].timeKnown && sorted[i - 1].lastWrite <= sorted[i].lastWrite);
            }
        }
    }
    return 0;
}
