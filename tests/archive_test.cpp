// Archive check (entry 16, dialog 146) end to end, with the test archivers of
// tests/archivers on PATH: ZIP and TAR can be checked, the other formats have no library.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/resource_ids.h"
#include "tests/support/command_run.h"
#include "tests/support/test_env.h"
#include "tools/support/drop_data.h"

namespace {

constexpr unsigned kArchiveEntry = 16;
constexpr char kAllSound[] = "検出した書庫は、すべて正常です。";
constexpr char kFinished[] = "書庫の検査が終了しました。";

// The archivers are found through PATH, as a user's may be.
const bool g_archiversOnPath = [] {
    std::vector<char> old(32767);
    const DWORD n = GetEnvironmentVariableA("PATH", old.data(), static_cast<DWORD>(old.size()));
    const std::string path = std::string(TIDALON_ARCHIVERS_DIR) + ";" + std::string(old.data(), n < old.size() ? n : 0);
    return SetEnvironmentVariableA("PATH", path.c_str()) != FALSE;
}();

struct Ticks {
    bool zip = true, tar = true, subfolders = false, log = false;
};

class ArchiveTest : public FullMenuTest {
protected:
    // A copy of the sound sample of its format (".zip" or ".tar" in any case); a damaged
    // copy has a byte of a stored entry (ZIP) or of a header (TAR) changed.
    std::string Archive(const std::string& relative, bool damaged = false)
    {
        const std::string path = dir_.File(relative);
        const bool zip = _stricmp(path.c_str() + path.size() - 4, ".zip") == 0;
        EXPECT_TRUE(CopyFileA(zip ? TIDALON_ARCHIVE_SAMPLES "\\sound.zip" : TIDALON_ARCHIVE_SAMPLES "\\sound.tar",
                              path.c_str(), FALSE));
        if (damaged) {
            HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            SetFilePointer(file, zip ? 35 : 0, nullptr, FILE_BEGIN);
            DWORD written = 0;
            WriteFile(file, "#", 1, &written, nullptr);
            CloseHandle(file);
        }
        return path;
    }

    // Checks `paths` with the boxes ticked as `t`. With the log ticked the chooser is
    // answered with `chooser` (after `typed` is typed into it, when given), and a replace
    // question with Yes.
    void Check(const std::vector<std::string>& paths, const Ticks& t, int chooser = IDOK, bool replace = false,
               const std::wstring& typed = std::wstring())
    {
        ui_ = std::make_unique<CommandRun>(kArchiveEntry, [t](DialogDriver& d) {
            d.Check(IDC_ARCHIVE_ZIP, t.zip);
            d.Check(IDC_ARCHIVE_TAR, t.tar);
            d.Check(IDC_ARCHIVE_SUBFOLDERS, t.subfolders);
            d.Check(IDC_ARCHIVE_LOG, t.log);
        });
        if (t.log) {
            ui_->ExpectDialog([this, chooser, typed](DialogDriver& d) {
                chooserCaption_ = d.Caption();
                if (!typed.empty()) TypeSaveName(d, typed);
                d.Press(chooser);
            });
        }
        if (replace) ui_->ExpectBox(IDYES);
        ui_->AnswerAllBoxes(IDOK);
        ui_->On(paths);
        EXPECT_EQ(GetModuleHandleA("unzip32.dll"), nullptr) << "a library is unloaded after each check";
        EXPECT_EQ(GetModuleHandleA("tar32.dll"), nullptr);
    }

    // The texts of the boxes; the closing message must be the last, from the dialog.
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const SeenBox& box : ui_->Boxes()) {
            if (box.title == chooserCaption_) continue;   // the chooser's own replace question
            texts.push_back(box.text);
            const bool closing = box.text == kAllSound || box.text == kFinished;
            EXPECT_EQ(box.title, closing ? "確認" : "Tidalon　エラー");
            EXPECT_EQ(box.icon, static_cast<UINT>(closing ? MB_ICONINFORMATION : MB_ICONERROR));
            if (closing || box.text.rfind("書庫が壊れています。", 0) == 0) {
                EXPECT_EQ(box.owner, ui_->dialog());
            }
        }
        return texts;
    }
    static std::string Damaged(const std::string& path) { return "書庫が壊れています。[" + path + "]"; }

    std::unique_ptr<CommandRun> ui_;
    std::string chooserCaption_;
};

TEST_F(ArchiveTest, DialogProbesTheLibrariesButNeverTheCurrentFolder)
{
    // A library of a missing format planted in the current folder stays unused.
    CopyFileA(TIDALON_ARCHIVERS_DIR "\\unzip32.dll", dir_.At("unlha32.dll").c_str(), FALSE);
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(dir_.path().c_str());
    CommandRun(kArchiveEntry, [](DialogDriver& d) {
        EXPECT_EQ(d.Caption(), "書庫ファイルの検査");
        EXPECT_TRUE(d.IsEnabled(IDC_ARCHIVE_ZIP) && d.IsEnabled(IDC_ARCHIVE_TAR));
        for (int id : {IDC_ARCHIVE_LZH, IDC_ARCHIVE_ARJ, IDC_ARCHIVE_ISH, IDC_ARCHIVE_CAB, IDC_ARCHIVE_RAR})
            EXPECT_FALSE(d.IsEnabled(id)) << id;
        EXPECT_TRUE(d.IsChecked(IDC_ARCHIVE_LZH) && d.IsChecked(IDC_ARCHIVE_ZIP) && !d.IsChecked(IDC_ARCHIVE_TAR));
        EXPECT_FALSE(d.IsEnabled(IDC_ARCHIVE_INNER) || d.IsChecked(IDC_ARCHIVE_INNER));
        d.Check(IDC_ARCHIVE_TAR, true);
        d.Check(IDC_ARCHIVE_LOG, true);
        d.Press(IDC_DEFAULT);
    }, IDCANCEL).On({dir_.File("a.txt")});
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(ReadSettingsValue("Archive"), (std::vector<unsigned char>{1, 0, 0, 1, 0, 0, 1, 0, 1}));
}

TEST_F(ArchiveTest, DamagedThenSoundAppendsNgThenOkToTheChosenLog)
{
    const std::string log = dir_.File("~ArcList.txt", "before\r\n");
    const std::string a = Archive("a.zip", true);
    const std::string b = Archive("b.tar");
    Check({a, b}, {true, true, false, true}, IDOK, true);
    EXPECT_EQ(chooserCaption_, "ログファイルの保存");
    EXPECT_EQ(Texts(), (std::vector<std::string>{Damaged(a), kFinished}));
    EXPECT_EQ(ReadFileText(log), "before\r\nNG : " + a + "\r\nOK : " + b + "\r\n");
}

TEST_F(ArchiveTest, RowsOfSelectionsAndBoxes)
{
    struct Row {
        const char* what;
        std::vector<std::pair<std::string, bool>> archives;   // relative path, damaged
        std::vector<std::string> selected;
        Ticks ticks;
        int chooser;
        const char* damagedShown;   // relative path of the one damaged archive reported
    } rows[] = {
        {"no archive: no log file", {}, {"note.txt"}, {true, true, false, true}, IDOK, nullptr},
        {"unticked format is skipped", {{"x.zip", true}}, {"x.zip"}, {false, true, false, false}, IDOK, nullptr},
        {"cancelled chooser still checks", {{"c.zip", true}}, {"c.zip"}, {true, true, false, true}, IDCANCEL, "c.zip"},
        {"every depth, any case",
         {{"top\\A.Zip", false}, {"top\\s\\c.zIP", false}, {"top\\s\\t\\b.TAR", true}},
         {"top"},
         {true, true, true, false},
         IDOK,
         "top\\s\\t\\b.TAR"},
        {"folder passed over", {{"top\\b.tar", true}}, {"top"}, {true, true, false, false}, IDOK, nullptr},
    };
    int n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string folder = "row" + std::to_string(++n) + "\\";
        for (const auto& archive : row.archives) Archive(folder + archive.first, archive.second);
        std::vector<std::string> selected;
        for (const std::string& item : row.selected)
            selected.push_back(PathExists(dir_.At(folder + item)) ? dir_.At(folder + item) : dir_.File(folder + item));
        Check(selected, row.ticks, row.chooser);
        std::vector<std::string> expected;
        if (row.damagedShown != nullptr) expected.push_back(Damaged(dir_.At(folder + row.damagedShown)));
        expected.push_back(row.damagedShown != nullptr ? kFinished : kAllSound);
        EXPECT_EQ(Texts(), expected);
        EXPECT_FALSE(PathExists(dir_.At(folder + "~ArcList.txt")));
    }
}

TEST_F(ArchiveTest, MissingLibraryTickedByTheBlockStopsAtTheFirstArchive)
{
    // The default block ticks LZH, whose library is missing.
    const std::string lzh = dir_.File("a.lzh");
    const std::string zip = Archive("b.zip", true);
    Check({lzh, zip}, {});
    EXPECT_EQ(Texts(), std::vector<std::string>{SystemText(ERROR_MOD_NOT_FOUND)});
}

TEST_F(ArchiveTest, ChosenLogNameCodePage932CannotHoldIsRefusedAndTheCheckGoesOn)
{
    // Read through the ANSI chooser, "résumé.txt" would be "resume.txt": another file.
    const std::string lookAlike = dir_.File("resume.txt", "unrelated");
    const std::wstring typed = ToWide(dir_.path()) + L"\\r\u00e9sum\u00e9.txt";
    Check({Archive("a.zip")}, {true, true, false, true}, IDOK, false, typed);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"指定されたファイルを認識できません。", kAllSound}));
    EXPECT_EQ(ReadFileText(lookAlike), "unrelated");
    EXPECT_EQ(GetFileAttributesW(typed.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ArchiveTest, LibrariesAreNeverLookedForInFoldersCodePage932CannotHold)
{
    // The LZH library in "libé", and in its look-alike "libe" that the ANSI calls would
    // name instead: kelmora.dll's folder or a folder of PATH named so is passed over.
    const std::wstring folder = ToWide(dir_.path()) + L"\\lib\u00e9";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring lookAlike = ToWide(dir_.Folder("libe"));
    const std::wstring library = ToWide(TIDALON_ARCHIVERS_DIR "\\unzip32.dll");
    for (const std::wstring& into : {folder, lookAlike})
        ASSERT_TRUE(CopyFileW(library.c_str(), (into + L"\\unlha32.dll").c_str(), FALSE));
    const std::wstring copy = folder + L"\\kelmora.dll";
    ASSERT_TRUE(CopyFileW(ToWide(TIDALON_DIST_DIR "\\kelmora.dll").c_str(), copy.c_str(), FALSE));
    const std::string lzh = dir_.File("a.lzh");
    for (const bool onPath : {true, false}) {
        SCOPED_TRACE(onPath ? "a folder of PATH" : "kelmora.dll's folder");
        std::vector<wchar_t> path(32767);
        path.resize(GetEnvironmentVariableW(L"PATH", path.data(), static_cast<DWORD>(path.size())));
        const ScopedVariable variable(L"PATH", onPath ? folder + L";" + std::wstring(path.begin(), path.end())
                                                      : std::wstring(path.begin(), path.end()));
        const HMODULE module = onPath ? nullptr : LoadLibraryW(copy.c_str());
        ASSERT_TRUE(onPath || module != nullptr);
        bool lzhEnabled = true;
        UiScript ui;
        // The default block ticks LZH: a run on an LZH archive then needs its library.
        ui.ExpectDialog([&lzhEnabled](DialogDriver& d) {
            lzhEnabled = d.IsEnabled(IDC_ARCHIVE_LZH);
            d.Press(IDOK);
        });
        ui.AnswerAllBoxes(IDOK);
        ComPtr<IDataObject> data;
        *data.put() = CreateDropDataObject({lzh});
        EXPECT_EQ(KelmoraMenu(data.get(), module).Invoke(kArchiveEntry), S_OK);
        EXPECT_TRUE(ui.Failures().empty());
        EXPECT_FALSE(lzhEnabled);
        EXPECT_TRUE(IsOnlyErrorBox(ui, SystemText(ERROR_MOD_NOT_FOUND)));
        EXPECT_EQ(GetModuleHandleA("unlha32.dll"), nullptr);
        if (module != nullptr) FreeLibrary(module);
    }
}

}  // namespace
