#include "command_table.h"

#include "commands.h"
#include "module.h"

namespace {

// Commands whose entry is listed with no dialog and no action do nothing when chosen.
const CommandInfo kCommands[] = {
    /*  0 */ {"", 0, nullptr, nullptr},
    /*  1 */ {"ウィンドウ内のすべてのオブジェクトを選択します。", 0, nullptr, SelectAllItems},
    /*  2 */ {"すべてのファイルまたはフォルダを選択します。", 0, nullptr, SelectFilesOrFolders},
    /*  3 */ {"選択したファイルと同一拡張子のファイルをすべて選択します。", 0, nullptr, SelectSameExtension},
    /*  4 */ {"選択したファイルと同一更新日のファイルをすべて選択します。", 0, nullptr, SelectSameDate},
    /*  5 */ {"選択したファイルと同一属性のファイルをすべて選択します。", 0, nullptr, SelectSameAttributes},
    /*  6 */ {"高度な条件に一致したファイルをすべて選択します。", 0, nullptr, nullptr},
    /*  7 */ {"ファイル名をクリップボードへコピーします。", 0, nullptr, nullptr},
    /*  8 */ {"ファイルのタイムスタンプを変更します。", 0, nullptr, nullptr},
    /*  9 */ {"ファイルのタイムスタンプの補正を行います。", 0, nullptr, nullptr},
    /* 10 */ {"ファイルの属性を変更します。", 0, nullptr, nullptr},
    /* 11 */ {"ファイル名を変更します。", 0, nullptr, nullptr},
    /* 12 */ {"ファイル名を連番を付けて変更します。", 0, nullptr, nullptr},
    /* 13 */ {"ファイル名の特定文字列を置換します。", 147, PermuteDialogProc, nullptr},
    /* 14 */ {"更新日でフォルダを作成してファイルを移動します。", 0, nullptr, ClassifyByDate},
    /* 15 */ {"拡張子でフォルダを作成してファイルを移動します。", 0, nullptr, nullptr},
    /* 16 */ {"検出した書庫ファイルを検査します。", 0, nullptr, nullptr},
};
static_assert(sizeof kCommands / sizeof kCommands[0] == 17, "one entry per catalogue index");

}  // namespace

const CommandInfo& CommandFor(unsigned index)
{
    return kCommands[index < 17 ? index : 0];
}

void RunCommand(unsigned index, HWND owner, CShellExt* ext)
{
    const CommandInfo& command = CommandFor(index);
    if (command.dialogId != 0 && command.dialogProc != nullptr) {
        DialogBoxParamA(ModuleInstance(), MAKEINTRESOURCEA(command.dialogId), owner, command.dialogProc,
                        reinterpret_cast<LPARAM>(ext));
    } else if (command.action != nullptr) {
        command.action(owner, ext);
    }
}
