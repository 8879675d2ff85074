#pragma once

// Every text the program shows in a message box.

#include <string_view>

namespace message {

inline constexpr std::u16string_view kTooLargeForSingle =
    u"計算できる最大値の2147483647を超えました。2147483647以下の数値で実行して下さい。";

inline constexpr std::u16string_view kAutoFileFolderCreated =
    u"自動処理設定用ディレクトリーを作成しました。";
inline constexpr std::u16string_view kAutoFileFolderNotCreated =
    u"自動処理設定用ディレクトリーが既に有るので作成できませんでした。";
// Each followed by the path of the folder it names.
inline constexpr std::u16string_view kMakerFolderMissing =
    u"「Merrow」フォルダーが無いので、自動処理設定用ディレクトリーを作成できませんでした。\r\n"
    u"次のフォルダーを作成してから、もう一度チェックを入れて下さい。\r\n";
inline constexpr std::u16string_view kAutoInputWaiting =
    u"自動処理設定用ディレクトリーに「Radix10Kan.tbin」ファイルが残っているので、"
    u"ディレクトリーを削除しませんでした。";
inline constexpr std::u16string_view kAutoFileFolderFailed =
    u"自動処理設定用ディレクトリーを作成できませんでした。\r\n"
    u"次のフォルダーに書き込めるか確かめてから、もう一度チェックを入れて下さい。\r\n";

inline constexpr std::u16string_view kNoFileChosen = u"読込ませたいファイルを指定して下さい。";
inline constexpr std::u16string_view kFileUnreadable = u"ファイルを読み込めませんでした。";
inline constexpr std::u16string_view kNothingLoaded =
    u"ファイルが読み込まれていません。\r\n読込ませたいファイルを読込ませて下さい。";
inline constexpr std::u16string_view kOnlyLineBreaks =
    u"ファイルの中身に改行のみしか書かれていませんでした。\r\n"
    u"２進数が書き込まれたファイルを指定して読込ませて下さい。";
inline constexpr std::u16string_view kNotDigits =
    u"２進数が記述された「Radix2Kan.tbin」ファイルに、数値以外の文字が書かれていました。\r\n"
    u"処理を中止します。";
inline constexpr std::u16string_view kWorkerNotStarted = u"変換処理を開始できませんでした。";
inline constexpr std::u16string_view kTooLargeInList =
    u"計算できる最大値の2147483647を超えました。2147483647以下の数値で実行して下さい。\r\n"
    u"処理を中止します。";
inline constexpr std::u16string_view kDone = u"処理を完了しました。";
inline constexpr std::u16string_view kNothingToSave =
    u"保存する２進数の数値が算出されていません。\r\n２進数の数値を算出してから、保存して下さい。";
inline constexpr std::u16string_view kSaveFailed = u"何らかの理由でファイル保存出来ませんでした。";
inline constexpr std::u16string_view kSaved = u"ファイル保存を完了しました。";
inline constexpr std::u16string_view kOutOfMemory =
    u"メモリーが足りないので変換できませんでした。\r\n処理を中止します。";

inline constexpr std::u16string_view kAutoInputMissing =
    u"10進数が記述された「Radix10Kan.tbin」ファイルがりません。\r\n処理を中止します。";
inline constexpr std::u16string_view kAutoInputEmpty =
    u"10進数が記述された「Radix10Kan.tbin」ファイルの中身が空です。\r\n処理を中止します。";
inline constexpr std::u16string_view kAutoInputNotDigits =
    u"10進数が記述された「Radix10Kan.tbin」ファイルに、数値以外の文字が書かれていました。\r\n"
    u"処理を中止します。";
inline constexpr std::u16string_view kAutoInputUnreadable =
    u"10進数が記述された「Radix10Kan.tbin」ファイルを読み込めませんでした。\r\n処理を中止します。";
inline constexpr std::u16string_view kAutoResultNotWritten =
    u"処理結果を「Radix2Result.tbin」ファイルに書き込めませんでした。\r\n処理を中止します。";
inline constexpr std::u16string_view kAutoInputNotDeleted =
    u"「Radix10Kan.tbin」ファイルを削除できませんでした。";

}  // namespace message
