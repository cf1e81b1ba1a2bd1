#include "ctxmenu/command_table.h"

#include <commctrl.h>

#include "common/resource_ids.h"
#include "common/rules/option_blocks.h"
#include "ctxmenu/commands/commands.h"
#include "ctxmenu/module.h"

namespace {

// One row per catalogue index, its menu text (the catalogue's own) noted above it: help
// text, then the dialog or the action.
// Commands whose entry is listed with no dialog and no action do nothing when chosen.
const CommandInfo kCommands[] = {
    /*  0 */ {"", 0, nullptr, nullptr},
    /*  1 すべて選択(&L) */
    {"ウィンドウ内のすべてのオブジェクトを選択します。", 0, nullptr, SelectAllItems},
    /*  2 ファイル／フォルダを選択(&F) */
    {"すべてのファイルまたはフォルダを選択します。", 0, nullptr, SelectFilesOrFolders},
    /*  3 同一の拡張子を選択(&X) */
    {"選択したファイルと同一拡張子のファイルをすべて選択します。", 0, nullptr, SelectSameExtension},
    /*  4 同一の更新日を選択(&U) */
    {"選択したファイルと同一更新日のファイルをすべて選択します。", 0, nullptr, SelectSameDate},
    /*  5 同一の属性を選択(&R) */
    {"選択したファイルと同一属性のファイルをすべて選択します。", 0, nullptr, SelectSameAttributes},
    /*  6 高度な選択(&H) */
    {"高度な条件に一致したファイルをすべて選択します。", 0, nullptr, nullptr},
    /*  7 クリップボードへコピー(&C) */
    {"ファイル名をクリップボードへコピーします。", IDD_CLIPBOARD, ClipboardDialogProc, nullptr},
    /*  8 タイムスタンプを変更(&T) */
    {"ファイルのタイムスタンプを変更します。", IDD_TIME, TimeDialogProc, nullptr},
    /*  9 時差補正(&B) */
    {"ファイルのタイムスタンプの補正を行います。", IDD_REVISE, ReviseDialogProc, nullptr},
    /* 10 属性変更(&A) */
    {"ファイルの属性を変更します。", IDD_ATTRIBUTE, AttributeDialogProc, nullptr},
    /* 11 名前を整理(&G) */
    {"ファイル名を変更します。", IDD_NAME, NameDialogProc, nullptr},
    /* 12 連番で整理(&N) */
    {"ファイル名を連番を付けて変更します。", IDD_CNUM, CnumDialogProc, nullptr},
    /* 13 名前を置換(&E) */
    {"ファイル名の特定文字列を置換します。", IDD_PERMUTE, PermuteDialogProc, nullptr},
    /* 14 更新日で分類(&D) */
    {"更新日でフォルダを作成してファイルを移動します。", 0, nullptr, ClassifyByDate},
    /* 15 拡張子で分類(&O) */
    {"拡張子でフォルダを作成してファイルを移動します。", 0, nullptr, nullptr},
    /* 16 書庫ファイルを検査(&I) */
    {"検出した書庫ファイルを検査します。", IDD_ARCHIVE, ArchiveDialogProc, nullptr},
};
static_assert(sizeof kCommands / sizeof kCommands[0] == kCatalogueSize, "one entry per catalogue index");

}  // namespace

const CommandInfo& CommandFor(unsigned index)
{
    return kCommands[index < kCatalogueSize ? index : 0];
}

void RunCommand(unsigned index, const Invocation& invocation)
{
    const CommandInfo& command = CommandFor(index);
    if (command.dialogId != 0 && command.dialogProc != nullptr) {
        // The dialogs hold up-down controls: their class is registered before the first
        // dialog opens, whatever the host process has registered itself.
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        DialogBoxParamA(ModuleInstance(), MAKEINTRESOURCEA(command.dialogId), invocation.owner, command.dialogProc,
                        reinterpret_cast<LPARAM>(&invocation));
    } else if (command.action != nullptr) {
        command.action(invocation);
    }
}
