// A dialog command of the real kelmora.dll run for a test: the shared DialogCommand on
// this script's driver. The command's dialog comes first; the windows it opens later
// (a chooser, a question, a nested dialog) are expected beforehand with ExpectDialog and
// ExpectBox, in the order they come.
#pragma once
#include <windows.h>
#include <objidl.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/ui_script.h"
#include "tools/support/dialog_command.h"

class CommandRun : public UiScript {
public:
    // Hooks the calling thread and expects the dialog of catalogue entry `entry`: `fill`
    // runs once it is up, then `button` is pressed (0: none, `fill` closes it).
    CommandRun(unsigned entry, DialogFill fill, int button = IDOK);

    // Runs the command with `owner` as window; the test fails unless InvokeCommand gives
    // S_OK and the script met its expectations.
    CommandRun& On(const std::vector<std::string>& paths, HWND owner = nullptr);
    CommandRun& OnData(IDataObject* data, HWND owner = nullptr);

    // The command's dialog once it came up, for the owners of the boxes of the run.
    HWND dialog() const { return command_.dialog(); }

private:
    CommandRun& Checked(HRESULT hr);

    DialogCommand command_;
};

// The usual run: `entry` on `paths` (or the selection `data` holds), its dialog filled
// and `button` pressed, every box of the run answered with OK and recorded.
std::unique_ptr<CommandRun> RunCommand(unsigned entry, const std::vector<std::string>& paths, DialogFill fill,
                                       int button = IDOK);
std::unique_ptr<CommandRun> RunCommandWith(unsigned entry, IDataObject* data, DialogFill fill, int button = IDOK);
