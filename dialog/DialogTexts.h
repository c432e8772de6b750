// The dialog's captions and messages, CP932 bytes.
#pragma once

namespace dialog_text {

constexpr const char *SizeLabel = "\x83\x54\x83\x43\x83\x59";        // サイズ
constexpr const char *WindowFuncLabel = "\x91\x8b\x8a\xd6\x90\x94";  // 窓関数
constexpr const char *SimdLabel = "SIMD";
constexpr const char *AddButton = "\x92\xc7\x89\xc1";        // 追加
constexpr const char *DeleteButton = "\x8d\xed\x8f\x9c";     // 削除
constexpr const char *RadiusCaption = "  \x94\xbc\x8c\x61";  // "  半径"
constexpr const char *ParamStartText = "0";
// The add-size prompt: 解像度リストに追加 / 入力例) 640x480
constexpr const char *AddSizeCaption =
    "\x89\xf0\x91\x9c\x93\x78\x83\x8a\x83\x58\x83\x67\x82\xc9\x92\xc7\x89\xc1";
constexpr const char *AddSizePrompt = "\x93\xfc\x97\xcd\x97\xe1\x29 640x480";
// 警告 / AviUtlの最大画像サイズより大きなサイズは指定出来ません
constexpr const char *WarningCaption = "\x8c\x78\x8d\x90";
constexpr const char *TooLargeText =
    "AviUtl\x82\xcc\x8d\xc5\x91\xe5\x89\xe6\x91\x9c\x83\x54\x83\x43\x83\x59\x82\xe6\x82\xe8"
    "\x91\xe5\x82\xab\x82\xc8\x83\x54\x83\x43\x83\x59\x82\xcd\x8e\x77\x92\xe8\x8f\x6f\x97\x88"
    "\x82\xdc\x82\xb9\x82\xf1";
constexpr const char *CancelButton = "\x83\x4c\x83\x83\x83\x93\x83\x5a\x83\x8b";  // キャンセル

}  // namespace dialog_text
