// Layout bytes and hotkey letters to the submenu model, and the hotkey substitution on
// its own. Input: capacity byte, hotkey count byte, the hotkey letters, then a
// SubstituteHotkey case (letter, out size, text, marker), the rest is the layout.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <cstring>
#include <string>
#include <vector>

#include "common/rules/menu_model.h"
#include "fuzz_input.h"

namespace {

// SubstituteHotkey copies at most outSize-1 bytes of the text and changes at most the
// one byte after the marker: a zero letter ends the text there.
void CheckSubstitution(FuzzInput& in)
{
    const char letter = static_cast<char>(in.Byte());
    ExactBuffer out(in.Number(80));
    const std::string text = in.Text(), marker = in.Text();
    const ExactBuffer textCopy = ExactText(text), markerCopy = ExactText(marker);
    SubstituteHotkey(textCopy.data.get(), markerCopy.data.get(), letter, out.get(), out.size);
    if (out.size == 0) return;
    FUZZ_CHECK(out.Terminated());
    const std::string result = out.get();
    const std::size_t kept = std::min(text.size(), out.size - 1);
    if (letter == 0 && result.size() < kept) {
        FUZZ_CHECK(text.compare(0, result.size(), result) == 0);
        return;
    }
    FUZZ_CHECK(result.size() == kept);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < kept; ++i) differing += result[i] != text[i];
    FUZZ_CHECK(differing <= 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    const std::size_t capacity = in.Byte();
    const std::size_t hotkeyCount = in.Byte() % (kHotkeyTableSize + 2);
    std::vector<unsigned char> hotkeys(hotkeyCount);
    for (unsigned char& h : hotkeys) h = in.Byte();
    CheckSubstitution(in);
    const std::string rest = in.Rest();
    const std::vector<unsigned char> layout(rest.begin(), rest.end());

    // Exactly `capacity` entries and `hotkeyCount` letters: nothing past them is touched.
    std::unique_ptr<MenuModelEntry[]> entries(new MenuModelEntry[capacity]);
    const MenuModel model = BuildMenuModel(layout.data(), layout.size(), hotkeys.data(), hotkeyCount,
                                           entries.get(), capacity);
    if (capacity == 0) {
        FUZZ_CHECK(model.count == 0 && model.commands == 0);
        return 0;
    }
    FUZZ_CHECK(model.count <= capacity && model.commands <= model.count && model.commands <= kNoOffset);
    FUZZ_CHECK(model.offsets[0] == kNoOffset);

    // The entries are the usable layout bytes in order: byte 0 is the flag, bytes above
    // 16 are skipped, and commands past offset 254 are cut.
    std::size_t next = 1, commands = 0;
    bool listed[kCatalogueSize] = {};
    for (std::size_t i = 0; i < model.count; ++i) {
        const MenuModelEntry& e = entries[i];
        while (next < layout.size() &&
               (layout[next] >= kCatalogueSize || (layout[next] != 0 && commands >= kNoOffset)))
            ++next;
        FUZZ_CHECK(next < layout.size() && e.index == layout[next]);
        ++next;
        FUZZ_CHECK(e.separator == (e.index == 0));
        if (e.separator) continue;
        ++commands;
        listed[e.index] = true;
        FUZZ_CHECK(std::memchr(e.text, 0, sizeof e.text) != nullptr);
        // The catalogue text with its letter after "(&"; a zero letter ends it there.
        const std::string catalogue = kCatalogue[e.index];
        const std::size_t mark = catalogue.find("(&");
        FUZZ_CHECK(mark != std::string::npos);
        const char letter = e.index < hotkeyCount ? static_cast<char>(hotkeys[e.index]) : '\0';
        std::string expected = catalogue.substr(0, mark + 2);
        if (letter != 0) expected += letter + catalogue.substr(mark + 3);
        FUZZ_CHECK(expected == e.text);
        // The id offset the menu gives this entry runs this entry's command.
        FUZZ_CHECK(model.offsets[e.index] < model.commands);
        FUZZ_CHECK(IndexForOffset(model.offsets, model.offsets[e.index]) == e.index);
    }
    FUZZ_CHECK(commands == model.commands);
    for (std::size_t i = 0; i < kCatalogueSize; ++i) FUZZ_CHECK(listed[i] || model.offsets[i] == kNoOffset);
    FUZZ_CHECK(IndexForOffset(model.offsets, static_cast<unsigned>(model.commands)) == 0);
    FUZZ_CHECK(IndexForOffset(model.offsets, kNoOffset) == 0);
    FUZZ_CHECK(IndexForOffset(nullptr, 0) == 0);
    return 0;
}
