#include "tests/support/command_run.h"

#include <gtest/gtest.h>

CommandRun::CommandRun(unsigned entry, DialogFill fill, int button)
    : command_(driver(), entry, std::move(fill), button)
{
}

CommandRun& CommandRun::On(const std::vector<std::string>& paths, HWND owner)
{
    return Checked(command_.Run(paths, owner));
}

CommandRun& CommandRun::OnData(IDataObject* data, HWND owner)
{
    return Checked(command_.RunWith(data, owner));
}

CommandRun& CommandRun::Checked(HRESULT hr)
{
    EXPECT_EQ(hr, S_OK);
    const std::vector<std::string> failures = command_.Failures();
    EXPECT_TRUE(failures.empty()) << failures.front();
    return *this;
}

std::unique_ptr<CommandRun> RunCommand(unsigned entry, const std::vector<std::string>& paths, DialogFill fill,
                                       int button)
{
    auto run = std::make_unique<CommandRun>(entry, std::move(fill), button);
    run->AnswerAllBoxes(IDOK);
    run->On(paths);
    return run;
}

std::unique_ptr<CommandRun> RunCommandWith(unsigned entry, IDataObject* data, DialogFill fill, int button)
{
    auto run = std::make_unique<CommandRun>(entry, std::move(fill), button);
    run->AnswerAllBoxes(IDOK);
    run->OnData(data);
    return run;
}
