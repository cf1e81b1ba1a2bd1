// Timestamp change (entry 8, dialog 132) and time-difference correction (entry 9,
// dialog 145) end to end: the entries are invoked on scratch files, the dialogs are
// driven by control id, and the last-write times are read back to the 100-ns unit.
// (Wine keeps no creation times, so the rows are checked through last-write times.)
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/resource_ids.h"
#include "tests/support/command_run.h"
#include "tests/support/test_env.h"

namespace {

constexpr unsigned kTimeEntry = 8;
constexpr unsigned kReviseEntry = 9;
constexpr std::uint64_t kSecond = 10000000;
// 2023-05-10 12:34:56.789 UTC plus 4321 units below the millisecond.
constexpr std::uint64_t kBase = 133281716967894321ull;

std::uint64_t LastWrite(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

void SetLastWrite(const std::string& path, std::uint64_t units)
{
    const FILETIME time = {DWORD(units), DWORD(units >> 32)};
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
    CloseHandle(file);
}

SYSTEMTIME LocalOf(std::uint64_t units)
{
    const FILETIME utc = {DWORD(units), DWORD(units >> 32)};
    FILETIME local;
    SYSTEMTIME out{};
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &out);
    return out;
}

class TimeTest : public FullMenuTest {
protected:
    // Files "f0".."fn-1" with last-write times kBase, kBase + 1 day, ...
    std::vector<std::string> Files(int n)
    {
        std::vector<std::string> paths;
        for (int i = 0; i < n; ++i) {
            paths.push_back(dir_.File("f" + std::to_string(i)));
            SetLastWrite(paths.back(), kBase + i * 86400 * kSecond + i * 1230000);
        }
        return paths;
    }
    void ExpectErrorBoxes(size_t count, const std::string& start)
    {
        ASSERT_EQ(ui_->Boxes().size(), count);
        for (const SeenBox& box : ui_->Boxes()) {
            EXPECT_EQ(box.title, "Tidalon　エラー");
            EXPECT_EQ(box.text.compare(0, start.size(), start), 0) << box.text;
        }
    }
    std::unique_ptr<CommandRun> ui_;
};

void FillRevise(DialogDriver& d, const char* h, const char* m, const char* s, bool earlier)
{
    d.SetText(IDC_REVISE_HOURS, h);
    d.SetText(IDC_REVISE_MINUTES, m);
    d.SetText(IDC_REVISE_SECONDS, s);
    d.Check(IDC_REVISE_LATER, !earlier);
    d.Check(IDC_REVISE_EARLIER, earlier);
}

TEST_F(TimeTest, ReviseShiftsEveryLastWriteExactly)
{
    const struct {
        const char *h, *m, *s;
        bool earlier;
        std::int64_t delta;
    } rows[] = {
        {"9", "0", "0", true, -9 * 3600 * std::int64_t(kSecond)},
        {"1", "30", "15", false, 54150000000},
        {"0", "90", "0", false, 90 * 60 * std::int64_t(kSecond)},   // beyond the up-down range
        {"0", "0", "0", false, 0},
        {"0", "-5", "0", false, 0},   // a wrapped "-5" would move the files to 2446
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.h) + ":" + row.m + ":" + row.s);
        const std::vector<std::string> files = Files(2);
        const std::string folder = dir_.Folder("sub");
        const std::uint64_t before[] = {LastWrite(files[0]), LastWrite(files[1]), LastWrite(folder)};
        ui_ = RunCommand(kReviseEntry, {files[0], folder, files[1]}, [&](DialogDriver& d) {
            FillRevise(d, row.h, row.m, row.s, row.earlier);
        });
        EXPECT_TRUE(ui_->Boxes().empty());
        EXPECT_EQ(LastWrite(files[0]), before[0] + row.delta);
        EXPECT_EQ(LastWrite(files[1]), before[1] + row.delta);
        EXPECT_EQ(LastWrite(folder), before[2]) << "folders are passed over";
    }
}

TEST_F(TimeTest, ReviseStoresFieldsCutToTheirWidthsOnlyWithDefault)
{
    const std::string file = Files(1)[0];
    ui_ = RunCommand(kReviseEntry, {file}, [](DialogDriver& d) {
        EXPECT_EQ(d.Caption(), "時差補正");
        EXPECT_TRUE(d.IsChecked(IDC_REVISE_LATER)) << "the default block reads as later";
        EXPECT_EQ(d.Text(IDC_REVISE_MINUTES), "0");
        FillRevise(d, "70000", "300", "7", true);
        d.Press(IDC_DEFAULT);
    }, IDCANCEL);
    EXPECT_EQ(ReadSettingsValue("Revise"), (std::vector<unsigned char>{0x70, 0x11, 44, 7, 0, 1}));
    ui_ = RunCommand(kReviseEntry, {file}, [](DialogDriver& d) {
        FillRevise(d, "-5", "-5", "-5", false);
        d.Press(IDC_DEFAULT);
    }, IDCANCEL);
    EXPECT_EQ(ReadSettingsValue("Revise"), (std::vector<unsigned char>{0, 0, 0, 0, 1, 0})) << "not FB";
    EXPECT_EQ(LastWrite(file), kBase);
}

TEST_F(TimeTest, RunsStopAtTheFirstFailingItem)
{
    // The disk keeps no time before 1901, so the shift below 1601 is made from 1954:
    // the first file (2376) can take it, the second cannot.
    constexpr std::uint64_t kHour = 3600 * kSecond;
    const std::string kOutOfRange = "補正後の日時がファイルの日時として扱える範囲を超えるため";
    const struct {
        const char* hours;
        bool earlier;
        std::uint64_t first, second;
        bool holdSecond;
        std::string message;
        std::uint64_t firstAfter;
    } rows[] = {
        // The second file is in use: the platform refuses to open it for writing.
        {"1", false, kBase, kBase, true, SystemText(ERROR_SHARING_VIOLATION), kBase + kHour},
        {"3100000", true, kBase + 3100000 * kHour, 3099999 * kHour, false, kOutOfRange, kBase},
        // An offset past every file time refuses the first item already.
        {"4294967295", false, kBase, kBase, false, kOutOfRange, kBase},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.hours);
        const std::vector<std::string> files = Files(3);
        SetLastWrite(files[0], row.first);
        SetLastWrite(files[1], row.second);
        const std::uint64_t third = LastWrite(files[2]);
        HANDLE held = row.holdSecond ? CreateFileA(files[1].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                                     : INVALID_HANDLE_VALUE;
        ui_ = RunCommand(kReviseEntry, files, [&](DialogDriver& d) {
            FillRevise(d, row.hours, "0", "0", row.earlier);
        });
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        ExpectErrorBoxes(1, row.message);
        EXPECT_EQ(LastWrite(files[0]), row.firstAfter);
        EXPECT_EQ(LastWrite(files[1]), row.second);
        EXPECT_EQ(LastWrite(files[2]), third);
    }
}

void TickOnly(DialogDriver& d, bool creation, bool lastWrite, bool date, bool timeOfDay)
{
    d.Check(IDC_TIME_CREATION, creation);
    d.Check(IDC_TIME_LAST_WRITE, lastWrite);
    d.Check(IDC_TIME_DATE, date);
    d.Check(IDC_TIME_TIME_OF_DAY, timeOfDay);
}

TEST_F(TimeTest, TimeOfDayOnlyKeepsEachFilesDateAndMilliseconds)
{
    // Midnight by the clear button, or typed with minus signs, which read as 0.
    for (const bool typed : {false, true}) {
        SCOPED_TRACE(typed ? "typed" : "cleared");
        const std::vector<std::string> files = Files(2);
        const std::uint64_t before[] = {LastWrite(files[0]), LastWrite(files[1])};
        ui_ = RunCommand(kTimeEntry, files, [typed](DialogDriver& d) {
            TickOnly(d, false, true, false, true);
            if (!typed) return d.Press(IDC_TIME_CLEAR);
            for (int id : {IDC_TIME_W_HOUR, IDC_TIME_W_MINUTE, IDC_TIME_W_SECOND}) d.SetText(id, "-5");
        });
        EXPECT_TRUE(ui_->Boxes().empty());
        for (int i = 0; i < 2; ++i) {
            const SYSTEMTIME was = LocalOf(before[i]);
            const SYSTEMTIME now = LocalOf(LastWrite(files[i]));
            EXPECT_EQ(std::vector<int>({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond}),
                      std::vector<int>({was.wYear, was.wMonth, was.wDay, 0, 0, 0}));
            EXPECT_EQ(now.wMilliseconds, was.wMilliseconds);
            EXPECT_EQ(LastWrite(files[i]) % 10000, 0u) << "digits below the millisecond are dropped";
        }
    }
}

TEST_F(TimeTest, DateThatDoesNotExistGivesOneBoxPerItemAndLeavesItsRow)
{
    const struct {
        int yearId, monthId, dayId;
        const char *year, *month, *day;
        bool lastWriteChanges;
        bool creation = true;
    } rows[] = {
        // The creation row is refused; the modification row is still applied.
        {IDC_TIME_C_YEAR, IDC_TIME_C_MONTH, IDC_TIME_C_DAY, "2023", "2", "30", true},
        {IDC_TIME_C_YEAR, IDC_TIME_C_MONTH, IDC_TIME_C_DAY, "67137", "1", "1", true},
        {IDC_TIME_W_YEAR, IDC_TIME_W_MONTH, IDC_TIME_W_DAY, "2023", "2", "30", false},
        // A row whose box is off is still worked out (and refused), though never written.
        {IDC_TIME_C_YEAR, IDC_TIME_C_MONTH, IDC_TIME_C_DAY, "2023", "2", "30", true, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.year) + "/" + row.month + "/" + row.day);
        const std::vector<std::string> files = Files(2);
        const std::uint64_t before[] = {LastWrite(files[0]), LastWrite(files[1])};
        ui_ = RunCommand(kTimeEntry, files, [&](DialogDriver& d) {
            TickOnly(d, row.creation, true, true, false);
            d.SetText(IDC_TIME_W_YEAR, "2024");
            d.SetText(IDC_TIME_W_MONTH, "3");
            d.SetText(IDC_TIME_W_DAY, "15");
            d.SetText(row.yearId, row.year);
            d.SetText(row.monthId, row.month);
            d.SetText(row.dayId, row.day);
        });
        ExpectErrorBoxes(2, SystemText(ERROR_INVALID_PARAMETER));
        for (int i = 0; i < 2; ++i) {
            const SYSTEMTIME was = LocalOf(before[i]);
            const SYSTEMTIME now = LocalOf(LastWrite(files[i]));
            if (!row.lastWriteChanges) {
                EXPECT_EQ(LastWrite(files[i]), before[i]);
                continue;
            }
            EXPECT_EQ(std::vector<int>({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wMilliseconds}),
                      std::vector<int>({2024, 3, 15, was.wHour, was.wMinute, was.wMilliseconds}));
        }
    }
}

TEST_F(TimeTest, DialogShowsTheItemAndStoresTheTicksOnlyWithDefault)
{
    const std::vector<std::string> files = Files(3);
    const SYSTEMTIME local = LocalOf(kBase);
    ui_ = RunCommand(kTimeEntry, {files[0]}, [&](DialogDriver& d) {
        EXPECT_EQ(d.Caption(), "タイムスタンプの変更");
        EXPECT_NE(d.Text(IDC_TIME_ITEM).find("f0"), std::string::npos) << d.Text(IDC_TIME_ITEM);
        EXPECT_EQ(d.Text(IDC_TIME_W_YEAR), std::to_string(local.wYear));
        EXPECT_EQ(d.Text(IDC_TIME_W_HOUR), std::to_string(local.wHour));
        EXPECT_EQ(d.Text(IDC_TIME_W_SECOND), std::to_string(local.wSecond));
        TickOnly(d, false, true, false, false);
        EXPECT_FALSE(d.IsEnabled(IDC_TIME_W_YEAR));
        d.Check(IDC_TIME_DATE, true);
        EXPECT_TRUE(d.IsEnabled(IDC_TIME_W_YEAR_UD));
        EXPECT_FALSE(d.IsEnabled(IDC_TIME_C_YEAR));
        EXPECT_FALSE(d.IsEnabled(IDC_TIME_W_HOUR));
        d.Check(IDC_TIME_DATE, false);
        d.Press(IDC_DEFAULT);
    }, IDCANCEL);
    EXPECT_EQ(ReadSettingsValue("Time"), (std::vector<unsigned char>{0, 1, 0, 0}));
    ui_ = RunCommand(kTimeEntry, files, [](DialogDriver& d) {
        EXPECT_EQ(d.Text(IDC_TIME_ITEM), "ファイル数：3");
        EXPECT_FALSE(d.IsChecked(IDC_TIME_CREATION));
        EXPECT_TRUE(d.IsChecked(IDC_TIME_LAST_WRITE));
        EXPECT_FALSE(d.IsChecked(IDC_TIME_DATE));
    });   // OK: nothing to replace, nothing changes
    EXPECT_TRUE(ui_->Boxes().empty());
    EXPECT_EQ(LastWrite(files[0]), kBase);
}

TEST_F(TimeTest, ItemThatVanishedIsSkippedByBothCommands)
{
    for (unsigned entry : {kTimeEntry, kReviseEntry}) {
        const std::string file = Files(1)[0];
        ui_ = RunCommand(entry, {dir_.At("gone"), file}, [entry](DialogDriver& d) {
            if (entry == kReviseEntry) FillRevise(d, "1", "0", "0", false);
            else d.SetText(IDC_TIME_W_YEAR, "2001");
        });
        EXPECT_TRUE(ui_->Boxes().empty()) << entry;
        EXPECT_NE(LastWrite(file), kBase) << entry;
    }
}

}  // namespace
