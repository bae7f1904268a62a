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
    // The maintenance screen's own: why a file is not read as the data file,
    // and what became of a copy or a settings save that failed.
    {u"データ保守", u"旧形式", u"", true,
     u" は Jet 形式のデータベースファイルです。この形式は読み込めません。",
     u"読込できません", MsgStyle::Warning},
    {u"データ保守", u"空ファイル", u"", true,
     u" は空のファイルです。データファイルではないため読み込めません。", u"読込できません",
     MsgStyle::Warning},
    {u"データ保守", u"形式違い", u"", true,
     u" はデータベースファイルではありません。データファイルではないため読み込めません。",
     u"読込できません", MsgStyle::Warning},
    {u"データ保守", u"他システム", u"", true,
     u" は他のプログラムのデータベースです。このシステムのデータファイルではないため読み込めません"
     u"。",
     u"読込できません", MsgStyle::Warning},
    {u"データ保守", u"作業用", u"", true,
     u" は作業用データベース (RbctiWork2K.mdb) "
     u"です。顧客や着信履歴は入っていないため読み込めません。",
     u"読込できません", MsgStyle::Warning},
    {u"データ保守", u"郵便番号辞書", u"", true,
     u" は郵便番号辞書です。顧客や着信履歴は入っていないため読み込めません。", u"読込できません",
     MsgStyle::Warning},
    {u"データ保守", u"データなし", u"", true,
     u" には顧客マスタ・着信履歴などの表がありません。データファイルではないため読み込めません。",
     u"読込できません", MsgStyle::Warning},
    {u"データ保守", u"破損", u"", true,
     u" は壊れているか読めないため読み込めません。現在のデータはそのままです。", u"読込できません",
     MsgStyle::Warning},
    {u"データ保守", u"使用中", u"", true,
     u" は現在使用中のファイルです。別のファイルを指定してください。", u"キーチェック",
     MsgStyle::Warning},
    {u"データ保守", u"上書き確認", u"", true, u" は既にあります。置き換えますか", u"上書きの確認",
     MsgStyle::ConfirmDefaultNo},
    {u"データ保守", u"コピー失敗", u"", true,
     u"\nコピーできませんでした。コピー先のファイルは元のままです。", u"コピーできません",
     MsgStyle::Warning},
    {u"データ保守", u"読込中止", u"", true, u"\n読み込めませんでした。現在のデータはそのままです。",
     u"読込できません", MsgStyle::Warning},
    {u"データ保守", u"読込失敗", u"", true,
     u"\n読み込めませんでした。元のデータファイルに戻しました。", u"読込できません",
     MsgStyle::Warning},
    {u"データ保守", u"復元失敗", u"", true,
     u"\n読み込めず、元のデータファイルにも戻せませんでした。データフォルダの "
     u"RbCtiData2K.mdb.bak が元のデータファイルです。プログラムを終了し、このファイルを "
     u"RbCtiData2K.mdb に戻してください。",
     u"読込できません", MsgStyle::Warning},
    {u"データ保守", u"登録失敗", u"", true, u"\n登録できませんでした。", u"登録できません",
     MsgStyle::Warning},
    {u"データ保守", u"削除失敗", u"", true, u"\n削除できませんでした。データは削除前のままです。",
     u"削除できません", MsgStyle::Warning},
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
