// A dialog command of kelmora.dll run on a selection, its windows answered by a
// ModalDriver of the calling thread. The command's dialog is the first window expected:
// once it is up it is filled by control id and a button pressed. The windows it opens
// after that (a save chooser, a question, a dialog nested in it) are the driver's further
// expectations, given beforehand in the order they come; a step that presses a button
// opening a nested dialog returns once that dialog has closed.
#pragma once
#include <windows.h>
#include <objidl.h>

#include <functional>
#include <string>
#include <vector>

#include "tools/support/modal_driver.h"

using DialogFill = std::function<void(DialogDriver&)>;

class DialogCommand {
public:
    // Expects the dialog of catalogue entry `entry` on `driver` (which outlives this):
    // `fill` runs once it is up, then `button` is pressed (0: none, `fill` closes it).
    DialogCommand(ModalDriver& driver, unsigned entry, DialogFill fill, int button = IDOK);
    DialogCommand(const DialogCommand&) = delete;
    DialogCommand& operator=(const DialogCommand&) = delete;

    // InvokeCommand of the entry on a new handler initialised with `data` (or with a
    // CF_HDROP of the ANSI `paths`). Gives its HRESULT, or that of the step that failed,
    // which Failures() then names.
    HRESULT Run(const std::vector<std::string>& paths, HWND owner = nullptr);
    HRESULT RunWith(IDataObject* data, HWND owner = nullptr);

    // The command's dialog once it came up (closed by the end of the run).
    HWND dialog() const { return dialog_; }
    // The driver's failures, the expectations no window took, and a step of the right
    // click that failed.
    std::vector<std::string> Failures() const;

private:
    ModalDriver& driver_;
    unsigned entry_;
    HWND dialog_ = nullptr;
    std::string failure_;
};
