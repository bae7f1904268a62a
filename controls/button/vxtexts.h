#pragma once
// The control's own texts, exactly as users have always seen them.

#include <QString>

namespace vx::text {

inline const QString kPicture = QStringLiteral("このﾋﾟｸﾁｬのﾌｫｰﾏｯﾄはｻﾎﾟｰﾄしていません。");
inline const QString kBevelWidth = QStringLiteral("Bevelの設定範囲は 0 から 10までです。");
inline const QString kToggle = QStringLiteral("Toggleの設定値は True 或は Falseです。");
inline const QString kZoomFactor = QStringLiteral("ZoomFactorの設定値は正数のみです。");
inline const QString kCaptionPosition =
    QStringLiteral("CaptionPositionの設定範囲は 0 - 上, 1 - 下, 2 - 左,  3 - 右だけです。");
inline const QString kRoundedCorners =
    QStringLiteral("RoundedCornersの設定値は True 或は Falseです。");
inline const QString kBorder = QStringLiteral("Borderの設定値は True 或は Falseです。");
inline const QString kColorSource =
    QStringLiteral("ColorSourceの設定値は  0 - ﾕｰｻﾞｰ或は 1 - ｼｽﾃﾑです。");
inline const QString kSizePicture = QStringLiteral("SizePictureの設定値は True 或は Falseです。");
inline const QString kMouseFocus = QStringLiteral("MouseFocusの設定値は True 或は Falseです。");
inline const QString kDataMethod =
    QStringLiteral("DataMethodの設定範囲は 0 から 8までです。 (ﾍﾙﾌﾟﾌｧｲﾙを参照して下さい)");
inline const QString kMultiLine =
    QStringLiteral("MultiLineの設定値は 0 - なし, 1 - 中央揃え, 2 - 左揃え,  3 - 右揃えです。");
inline const QString kChiselText =
    QStringLiteral("ChiselTextの設定値は 0 - なし, 1 - くぼみ,  2 - 浮き出しです。");
inline const QString kMousePointer =
    QStringLiteral("MousePointerﾌﾟﾛﾊﾟﾃｨの設定範囲は 0 から 15, そして 99です。");
inline const QString kMouseIcon =
    QStringLiteral("MouseIconﾌﾟﾛﾊﾟﾃｨは必ずｱｲｺﾝでなければなりません。");
inline const QString kAppearance = QStringLiteral("Appearanceの設定値は  0 - ﾌﾗｯﾄ、 1 - 3D");
inline const QString kBorderStyle =
    QStringLiteral("BorderStyleﾌﾟﾛﾊﾟﾃｨの設定値は 0 - なし, 1 - まるい角,  2 - 四角です。");
// Values refused by properties that have no message of their own.
inline const QString kInvalidValue = QStringLiteral("プロパティの値が不正です。");

// Failures of the data methods, in the order of their error numbers (1 on).
inline const QString kDataErrors[] = {
    QStringLiteral("内部ｴﾗｰ発生しました。"),
    QStringLiteral("ﾒﾓﾘ不足ｴﾗｰです。"),
    QStringLiteral("無効な Bookmark です。"),
    QStringLiteral("Bookmarkが取れたため、この行は削除されました。"),
    QStringLiteral("ｱｯﾌﾟﾃﾞｰﾄ中です。"),
    QStringLiteral("この行をﾛｯｸできません。"),
    QStringLiteral(
        "この DataSourceは指定された操作をｻﾎﾟｰﾄしないか、この操作を行う権利がありません。"),
    QStringLiteral("現在の行は読み出されたため下記の行のﾃﾞｰﾀは変更されました。"),
    QStringLiteral("規則違反"),
    QStringLiteral("未知ｴﾗｰ"),
    QStringLiteral("ｻﾎﾟｰﾄしない操作です。"),
};

} // namespace vx::text
