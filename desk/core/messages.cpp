#include "messages.h"

namespace core {
namespace {

struct Row {
    const char16_t* category;
    const char16_t* kind;
    const char16_t* before; // fixed text before the caller's
    bool withText;          // whether the caller's text is shown
    const char16_t* after;  // fixed text after it
    const char16_t* title;
    MsgStyle style;
};

constexpr Row kRows[] = {
    {u"削除", u"伝票確認2", u"", true, u" を削除します。よろしいですか", u"削除の確認",
     MsgStyle::ConfirmDefaultNo},
    {u"削除", u"その他確認", u"", true, u" を削除します。よろしいですか", u"削除の確認",
     MsgStyle::ConfirmDefaultNo},
    {u"削除", u"確認", u"すべてのデータを削除します。よろしいですか", false, u"", u"削除の確認",
     MsgStyle::ConfirmDefaultNo},
    {u"削除", u"伝票完了2", u"", true, u" を削除しました。", u"削除の完了", MsgStyle::Notice},
    {u"削除", u"完了", u"データ ", true, u" を削除しました。", u"削除の完了", MsgStyle::Notice},
    {u"削除", u"削除不可", u"", true,
     u" にデータがあるため削除できません。メンテナンス機能で削除してください。", u"削除不可",
     MsgStyle::Notice},
    {u"登録", u"確認", u"", true, u" を登録します。よろしいですか", u"登録の確認",
     MsgStyle::ConfirmDefaultYes},
    {u"登録", u"完了", u"データ  ", true, u" を登録しました。", u"登録完了", MsgStyle::Notice},
    {u"登録", u"標準完了", u"", true, u" を登録しました。", u"登録メッセージ", MsgStyle::Notice},
    {u"登録", u"その他", u"", true, u"", u"登録完了", MsgStyle::Notice},
    {u"入力", u"必須入力なし", u"", true, u"指定されていません。確認してください", u"入力注意",
     MsgStyle::Warning},
    {u"入力", u"区分なし", u"区分が指定されていません。区分を指定してください", false, u"",
     u"入力注意", MsgStyle::Warning},
    {u"行指定", u"指定なし", u"行が指定されていません。行指定してください。", false, u"",
     u"入力注意", MsgStyle::Warning},
    {u"その他", u"メッセージ", u"", true, u"", u"キーチェック", MsgStyle::Notice},
    {u"その他", u"ファイルなし", u"", true, u"がありません。確認してください。", u"キーチェック",
     MsgStyle::Notice},
    {u"その他", u"読込み完了", u"", true, u"読込みしました。", u"読込完了", MsgStyle::Notice},
    {u"その他", u"コピー完了", u"", true, u"コピーしました。", u"コピー完了", MsgStyle::Notice},
    // Printed output: a missing or failing printer, a file that cannot be written.
    {u"印刷", u"プリンタなし", u"プリンタがありません。プリンタの設定を確認してください。", false,
     u"", u"印刷エラー", MsgStyle::Warning},
    {u"印刷", u"印刷失敗", u"", true, u" に印刷できませんでした。プリンタを確認してください。",
     u"印刷エラー", MsgStyle::Warning},
    {u"印刷", u"保存失敗", u"", true, u" に保存できませんでした。保存先を確認してください。",
     u"印刷エラー", MsgStyle::Warning},
};

} // namespace

std::optional<Message> catalogueMessage(const QString& category, const QString& kind,
                                        const QString& text) {
    for (const Row& r : kRows) {
        if (category == QStringView(r.category) && kind == QStringView(r.kind)) {
            Message m;
            m.text = QString::fromUtf16(r.before) + (r.withText ? text : QString()) +
                     QString::fromUtf16(r.after);
            m.title = QString::fromUtf16(r.title);
            m.style = r.style;
            return m;
        }
    }
    return std::nullopt;
}

} // namespace core
