#pragma once
// The calendar's own texts, exactly as users have always seen them.

#include <QString>

namespace vxcal::text {

inline const QString kDateType =
    QStringLiteral("DateTypeは必ず ０ または １ の値でなければいけません。");
inline const QString kDate =
    QStringLiteral("Dateプロパティは必ず MinDate～MaxDate の範囲でなければいけません。");
inline const QString kMaxDate =
    QStringLiteral(".MaxDateプロパティは必ず MinDate に等しいかそれ以上の値でなければいけません。");
inline const QString kMinDate =
    QStringLiteral("MinDateプロパティは MaxDateと等しいかそれ以下の値でなければいけません。");
inline const QString kDayFrame =
    QStringLiteral("DayFrameは必ず True か False でなければいけません。");
inline const QString kThreeD = QStringLiteral("ThreeDは必ず True か False でなければいけません。");
inline const QString kDay =
    QStringLiteral("MonthDayは 指定する月の １～日数 の範囲でなければいけません。");
inline const QString kMonth =
    QStringLiteral("Monthは １（１月）～１２（１２月） の範囲でなければいけません。");
inline const QString kYear = QStringLiteral("Yearは必ず 1800～2075 の範囲でなければいけません。");
inline const QString kScrollBar = QStringLiteral("ScrollBarは ０～２ の範囲でなければいけません。");
inline const QString kFirstDay =
    QStringLiteral("FirstDayは必ず １（月）～７（土） の範囲でなければいけません。");
inline const QString kGetArrows =
    QStringLiteral("GetArrowsは必ずTrue か False でなければいけません。");
inline const QString kFocusFrame =
    QStringLiteral("FocusFrameは必ず True か False でなければいけません。");
inline const QString kMouseIcon =
    QStringLiteral("MouseIconプロパティに必ずアイコンオブジェクトを指定しなければいけません。");
inline const QString kMousePointer = QStringLiteral(
    "MousePointerは必ず ０～１３ の範囲でなければいけません。（詳細はヘルプを参照）");
inline const QString kDatePosition = QStringLiteral(
    "DatePositionプロパティは必ず ０～９ の範囲でなければいけません。（詳細はヘルプを参照）");
inline const QString kBorderStyle =
    QStringLiteral("BorderStyleは必ず ０ または １ でなければいけません。");
inline const QString kMarkDay =
    QStringLiteral("MarkDayは必ず ０～指定月の日数の範囲でなければいけません。");
inline const QString kMarkType =
    QStringLiteral("MarkTypeは必ず ０～８ の範囲でなければいけません。");
inline const QString kNotSupported = QStringLiteral("この操作はサポートされていません。");

} // namespace vxcal::text
