#include "common/rules/menu_model.h"

#include <cstring>

const char kCatalogue[kCatalogueSize][kCatalogueTextSize] = {
    "--- 仕切り ---",
    "すべて選択(&L)",
    "ファイル／フォルダを選択(&F)",
    "同一の拡張子を選択(&X)",
    "同一の更新日を選択(&U)",
    "同一の属性を選択(&R)",
    "高度な選択(&H)",
    "クリップボードへコピー(&C)",
    "タイムスタンプを変更(&T)",
    "時差補正(&B)",
    "属性変更(&A)",
    "名前を整理(&G)",
    "連番で整理(&N)",
    "名前を置換(&E)",
    "更新日で分類(&D)",
    "拡張子で分類(&O)",
    "書庫ファイルを検査(&I)",
};

void SubstituteHotkey(const char* text, const char* marker, char letter, char* out,
                      std::size_t outSize)
{
    if (out == nullptr || outSize == 0) return;
    out[0] = '\0';
    if (text == nullptr) return;
    std::size_t n = std::strlen(text);
    if (n >= outSize) n = outSize - 1;
    std::memcpy(out, text, n);
    out[n] = '\0';
    // An empty marker names no place for the letter: the text stays as it is.
    if (marker == nullptr || marker[0] == '\0') return;
    const char* found = std::strstr(out, marker);
    if (found == nullptr) return;
    // The letter goes right after the ampersand of the marker.
    std::size_t at = static_cast<std::size_t>(found - out) + std::strlen(marker);
    if (marker[std::strlen(marker) - 1] != '&') at -= 1;
    if (at < n) out[at] = letter;
}

MenuModel BuildMenuModel(const unsigned char* layout, std::size_t length,
                         const unsigned char* hotkeys, std::size_t hotkeyCount,
                         MenuModelEntry* entries, std::size_t capacity)
{
    MenuModel model{};
    std::memset(model.offsets, kNoOffset, sizeof model.offsets);
    if (layout == nullptr || entries == nullptr) return model;
    for (std::size_t i = 1; i < length && model.count < capacity; ++i) {
        const unsigned char b = layout[i];
        if (b >= kCatalogueSize) continue;  // never written by setup; skipped, not looked up
        // Offset 0xFF means "not in the menu": a layout repeating commands past that is cut.
        if (b != 0 && model.commands >= kNoOffset) continue;
        MenuModelEntry& e = entries[model.count++];
        e.index = b;
        e.separator = (b == 0);
        e.text[0] = '\0';
        if (e.separator) continue;
        const char letter = (hotkeys != nullptr && b < hotkeyCount) ? static_cast<char>(hotkeys[b]) : '\0';
        SubstituteHotkey(kCatalogue[b], "(&", letter, e.text, sizeof e.text);
        model.offsets[b] = static_cast<unsigned char>(model.commands);
        ++model.commands;
    }
    return model;
}

unsigned char IndexForOffset(const unsigned char* offsets, unsigned offset)
{
    if (offsets == nullptr) return 0;
    for (unsigned char i = 1; i < kCatalogueSize; ++i)
        if (offsets[i] != kNoOffset && offsets[i] == offset) return i;
    return 0;
}
