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

}  // namespace message
