// Texts shared by every deliverable: the error title and the failure messages.
#pragma once

// Title of every error box: the product name, an ideographic space, "エラー".
inline constexpr char kErrorTitle[] = "Tidalon　エラー";
// The generic failure: missing arguments and unexpected states.
inline constexpr char kMsgSystemFault[] = "システム異常です。";
inline constexpr char kMsgNoMemory[] = "処理するためメモリを確保できませんでした。";
inline constexpr char kMsgNoSelection[] = "ファイルが選択されていません。";
inline constexpr char kMsgUnreadablePath[] = "指定されたファイルを認識できません。";
inline constexpr char kMsgUnknownWindow[] = "ウィンドウを認識できませんでした。";

// The one key of the settings store, under HKEY_CURRENT_USER.
inline constexpr char kSettingsKey[] = "Software\\Quaddle\\Kelmora";
