// The preview of the three renaming commands: their run worked out by the same code as
// OK runs, with every rename noted instead of made, and shown in dialog 160 before
// anything on disk changes. The preview meets what the run would meet: a name that
// exists in its folder (on disk, or made earlier in the same run), a path too long, an
// invalid name, an item that cannot be read; the run's own message for it, word for
// word, marks the item where the run would stop, and every later item is listed as not
// handled.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "common/report.h"
#include "ctxmenu/rename_step.h"
#include "ctxmenu/selection_walk.h"

// One renaming run: every rename through `step`, `observer` told of every item. The
// same function makes the run of OK (renames on disk, the progress of a long run) and
// the preview (renames noted). 1 when every item was done; 0 after a report or a stop.
using RenamePlan = int (*)(HWND dialog, const void* options, RenameStep& step, WalkObserver* observer);

// The OK action: the plan with its renames made on disk, then the shell notification
// after a complete run, or after a run the user stopped once it had handled an item.
int RunRenames(HWND dialog, RenamePlan plan, const void* options);
// The preview button: the plan with its renames noted, shown in the preview dialog owned
// by `dialog`. Nothing on disk changes and no option block is stored.
int PreviewRenames(HWND dialog, RenamePlan plan, const void* options);

// The OK and preview actions of a renaming dialog: its options read once by `Read`
// (0 after a report: nothing runs), then the one plan run or previewed.
template <typename Options, int (*Read)(HWND, Options*), RenamePlan Plan>
struct RenameActions {
    static int Run(HWND dialog)
    {
        Options options;
        return Read(dialog, &options) ? RunRenames(dialog, Plan, &options) : 0;
    }
    static int Preview(HWND dialog)
    {
        Options options;
        return Read(dialog, &options) ? PreviewRenames(dialog, Plan, &options) : 0;
    }
};

class RenamePreview final : public RenameStep, public WalkObserver {
public:
    enum class Outcome : std::uint8_t { Renamed, Unchanged, Stops, Unhandled };

    // Present paths inside `baseFolder` (a folder with its final backslash) are shown
    // relative to it.
    RenamePreview(const char* baseFolder, ReportCapture& capture);

    void SetTotal(unsigned) override {}
    bool BeforeItem(const WalkItem& item) override;
    bool ContinueAfterFailure(const WalkItem* item) override;
    void Unvisited(const WalkItem& item) override;

    std::size_t Rows() const { return rows_.size(); }
    // The three columns of row `index`.
    const char* PresentPath(std::size_t index) const;
    const char* NewName(std::size_t index) const;
    const char* Result(std::size_t index) const;
    std::size_t RenamedCount() const { return renamed_; }
    // The row where the run would stop; Rows() when it would not.
    std::size_t StopRow() const { return stopped_ ? stopRow_ : rows_.size(); }

protected:
    int Move(WalkItem& item, const char* source, const char* target) override;

private:
    struct Row {
        std::uint32_t present;   // offsets into pool_
        std::uint32_t name;
        std::uint32_t message;
        Outcome outcome;
    };
    std::uint32_t Keep(const char* text);
    void AddRow(const char* present, const char* name, Outcome outcome);
    // The key a file system compares names by: without regard to case.
    static std::wstring Key(const char* path);
    bool Vacated(const std::wstring& key) const { return vacated_.count(key) != 0; }

    std::string base_;
    ReportCapture& capture_;
    std::vector<Row> rows_;
    std::vector<char> pool_;
    std::size_t renamed_ = 0;
    std::size_t stopRow_ = static_cast<std::size_t>(-1);
    bool stopped_ = false;
    // The run's renames so far: paths given up and paths taken.
    std::unordered_set<std::wstring> vacated_;
    std::unordered_set<std::wstring> taken_;
};
