#include "tools/support/dialog_command.h"

#include "common/handles.h"
#include "tools/support/drop_data.h"
#include "tools/support/kelmora_client.h"

DialogCommand::DialogCommand(ModalDriver& driver, unsigned entry, DialogFill fill, int button)
    : driver_(driver), entry_(entry)
{
    ModalExpectation e;
    e.steps.push_back({20, [this, fill = std::move(fill), button](DialogDriver& d) {
                           dialog_ = d.hwnd();
                           if (fill) fill(d);
                           if (button != 0) d.Press(button);
                       }});
    driver_.Expect(std::move(e));
}

HRESULT DialogCommand::RunWith(IDataObject* data, HWND owner)
{
    KelmoraMenu menu(data);
    const HRESULT hr = menu.Invoke(entry_, owner);
    failure_ = menu.failure();
    return hr;
}

HRESULT DialogCommand::Run(const std::vector<std::string>& paths, HWND owner)
{
    ComPtr<IDataObject> data;
    *data.put() = CreateDropDataObject(paths);
    if (!data) {
        failure_ = "no data object";
        return E_OUTOFMEMORY;
    }
    return RunWith(data.get(), owner);
}

std::vector<std::string> DialogCommand::Failures() const
{
    std::vector<std::string> all = driver_.AllFailures();
    if (!failure_.empty()) all.push_back(failure_);
    return all;
}
