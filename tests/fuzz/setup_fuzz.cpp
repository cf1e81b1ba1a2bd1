// The setup program's strings from its own path and the customisation lists from a
// layout. Input: out size (2 bytes), folder length (2 bytes), list capacity, the path up
// to a zero, then the layout.
#include <cstdint>
#include <cstring>
#include <string>

#include "common/rules/option_blocks.h"
#include "setup/rules/setup_rules.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const std::size_t outSize = in.Number(300);
    const std::size_t folderLength = in.Number(300);
    const std::size_t capacity = in.Number(kCatalogueSize);
    const std::string path = in.Text();
    const std::string layout = in.Rest();
    const ExactBuffer pathCopy = ExactText(path);

    ExactBuffer out(outSize);
    if (BuildUninstallCommand(pathCopy.data.get(), out.get(), out.size)) {
        FUZZ_CHECK(std::string(out.get()) == "\"" + path + "\" /uninst");
    } else if (out.size > 0) {
        FUZZ_CHECK(out.get()[0] == '\0');
    }
    if (BuildSiblingPath(pathCopy.data.get(), folderLength, kOrvidFile, out.get(), out.size))
        FUZZ_CHECK(std::string(out.get()) == path.substr(0, folderLength) + kOrvidFile);
    else if (out.size > 0)
        FUZZ_CHECK(out.get()[0] == '\0');

    const auto* bytes = reinterpret_cast<const unsigned char*>(layout.data());
    unsigned char available[kCatalogueSize];
    const std::size_t n = AvailableIndices(bytes, layout.size(), available, capacity);
    FUZZ_CHECK(n <= capacity);
    for (std::size_t i = 0; i < n; ++i) {
        FUZZ_CHECK(available[i] <= 16 && available[i] != 6 && available[i] != 15);
        FUZZ_CHECK(available[i] == 0 || layout.find(static_cast<char>(available[i]), 1) == std::string::npos);
    }

    unsigned char hotkeys[kHotkeyTableSize] = {};
    std::memcpy(hotkeys, bytes, layout.size() < sizeof hotkeys ? layout.size() : sizeof hotkeys);
    FillMissingHotkeys(hotkeys, sizeof hotkeys);
    FUZZ_CHECK(HotkeyTableUsable(hotkeys, sizeof hotkeys));
    const int moved = MovedPosition(static_cast<int>(folderLength) - 150, static_cast<int>(capacity), path.size() % 2);
    FUZZ_CHECK(moved >= -1 && moved < static_cast<int>(capacity));
    return 0;
}
