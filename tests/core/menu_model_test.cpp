// Layout bytes and hotkeys to submenu entries, including malformed layouts, under the
// sanitizers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/rules/menu_model.h"
#include "common/rules/option_blocks.h"

namespace {

struct Built {
    MenuModel model;
    std::vector<MenuModelEntry> entries;
};

Built Build(const std::vector<unsigned char>& layout, const char* hotkeys = kDefaultHotkeys,
            std::size_t hotkeyCount = kHotkeyTableSize)
{
    Built b;
    b.entries.resize(layout.size() + 1);
    b.model = BuildMenuModel(layout.data(), layout.size(), reinterpret_cast<const unsigned char*>(hotkeys),
                             hotkeyCount, b.entries.data(), b.entries.size());
    b.entries.resize(b.model.count);
    return b;
}

std::vector<std::string> Texts(const Built& b)
{
    std::vector<std::string> texts;
    for (const MenuModelEntry& e : b.entries) texts.push_back(e.separator ? "-" : e.text);
    return texts;
}

}  // namespace

TEST(MenuModel, DefaultLayoutGivesTenCommandsInOrder)
{
    const Built b = Build(std::vector<unsigned char>(std::begin(kDefaultLayout), std::end(kDefaultLayout)));
    EXPECT_EQ(b.model.commands, 10u);
    EXPECT_EQ(Texts(b), (std::vector<std::string>{"同一の拡張子を選択(&X)", "すべて選択(&L)", "-",
                                                  "クリップボードへコピー(&C)", "-", "タイムスタンプを変更(&T)",
                                                  "時差補正(&B)", "属性変更(&A)", "-", "名前を整理(&G)",
                                                  "連番で整理(&N)", "名前を置換(&E)", "-", "書庫ファイルを検査(&I)"}));
    EXPECT_EQ(b.model.offsets[3], 0);
    EXPECT_EQ(b.model.offsets[1], 1);
    EXPECT_EQ(b.model.offsets[16], 9);
    EXPECT_EQ(b.model.offsets[0], kNoOffset);
    EXPECT_EQ(b.model.offsets[2], kNoOffset);
    EXPECT_EQ(IndexForOffset(b.model.offsets, 9), 16);
    EXPECT_EQ(IndexForOffset(b.model.offsets, 10), 0);
    EXPECT_EQ(IndexForOffset(b.model.offsets, kNoOffset), 0);
}

TEST(MenuModel, LettersComeFromTheHotkeyTable)
{
    const Built b = Build({0, 13, 16}, "ZLFXURHCTBAGNQDO", 16);  // 16 letters: slot 16 is missing
    ASSERT_EQ(b.entries.size(), 2u);
    EXPECT_STREQ(b.entries[0].text, "名前を置換(&Q)");
    EXPECT_STREQ(b.entries[1].text, "書庫ファイルを検査(&");  // the marker ends the text

    char top[32];
    SubstituteHotkey(kTopItemText, "&E", 'Z', top, sizeof top);
    EXPECT_STREQ(top, "Tidalon(&Z)");
}

TEST(MenuModel, MalformedLayouts)
{
    EXPECT_EQ(Texts(Build({1, 0x0B})), std::vector<std::string>{"名前を整理(&G)"});
    EXPECT_EQ(Texts(Build({0, 0, 0, 0})), (std::vector<std::string>{"-", "-", "-"}));
    EXPECT_EQ(Build({0, 0, 0}).model.commands, 0u);
    // Bytes above 16 are skipped; the rest still builds.
    const Built high = Build({0, 0x11, 0xFF, 0x0D, 0x80, 0x01});
    EXPECT_EQ(Texts(high), (std::vector<std::string>{"名前を置換(&E)", "すべて選択(&L)"}));
    EXPECT_EQ(high.model.offsets[13], 0);
    EXPECT_EQ(high.model.offsets[1], 1);
    // Only the flag, or nothing at all.
    EXPECT_EQ(Build({1}).model.count, 0u);
    EXPECT_EQ(BuildMenuModel(nullptr, 5, nullptr, 0, nullptr, 0).count, 0u);
    // A layout repeating a command past the offset range stops adding commands.
    std::vector<unsigned char> repeated(600, 1);
    const Built many = Build(repeated);
    EXPECT_LT(many.model.commands, static_cast<std::size_t>(kNoOffset) + 1);
    // Capacity smaller than the layout: nothing is written past it.
    std::vector<MenuModelEntry> two(2);
    const unsigned char layout[] = {0, 1, 2, 3, 4};
    const unsigned char keys[] = "ELFXURHCTBAGNEDOI";
    EXPECT_EQ(BuildMenuModel(layout, sizeof layout, keys, 17, two.data(), two.size()).count, 2u);
}
