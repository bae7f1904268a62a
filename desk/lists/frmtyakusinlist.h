#pragma once
// FrmTyakusinList, the call list: the call log narrowed by customer, period
// and staff (or by the search panel's conditions), stepped by month, ticked
// and pruned, printed, and handed back to the call desk one call at a time.
// The list is a view over the work table w着信履歴; ticks live there only.
//
// The operations keep the names the office's procedures use and are public
// so that the other screens and the tests reach them.

#include <QDate>
#include <QWidget>
#include <functional>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QTableView;

namespace core {
class PagedTableModel;
}
namespace vx {
class VxCmdBtn;
}

namespace desk {

class DateBox;

class FrmTyakusinList : public QWidget {
public:
    explicit FrmTyakusinList(QWidget* parent = nullptr);
    ~FrmTyakusinList() override;

    void FormInit();
    void Clear着信履歴();
    void Clear検索条件();
    void SetComb(const QString& kind);
    void SetComb着信一覧(const QString& kind);
    void Read着信履歴();
    void Read着信履歴条件付();
    void OnOff着信一覧(bool flag);
    void Delete着信履歴();
    void SetPrnData(bool print);
    // Period one month back (-1) or forward (1), then the main read.
    void StepMonth(int months);
    // "メイン" and a double-click: the current call goes to the desk.
    void MenuWithHandOver();
    void Back();
    // The screen became the active window: a name handed over is read.
    void Activate();

    core::PagedTableModel* listModel() const { return model_; }
    int currentRow() const;
    void setCurrentRow(int row);
    // Today, for the default period; tests fix it.
    static std::function<QDate()>& today();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void build();
    void connectCommands();
    // Empties the work table and copies the calls of the conditions into it.
    void readCalls(const QString& where, const QVariantList& params);
    void showBusy(bool on);

    QComboBox* cmb顧客名_;
    DateBox* dt開始_;
    DateBox* dt終了_;
    QComboBox* cmb担当_;
    QFrame* cn検索条件_;
    QComboBox* cmb顧客名検索_;
    DateBox* dt開始検索_;
    DateBox* dt終了検索_;
    QComboBox* cmb担当検索_;
    QComboBox* cmb用件1検索_;
    QComboBox* cmb用件2検索_;
    QLineEdit* txt用件メモ検索_;
    QComboBox* cmbチェック検索_;
    QFrame* selEnt_;
    QLabel* lblMsg_;
    QTableView* grid明細_;
    core::PagedTableModel* model_ = nullptr;
};

inline const QString kCheckedCalls = QStringLiteral("チェック済データの表示");
inline const QString kUncheckedCalls = QStringLiteral("未チェックデータの表示");

} // namespace desk
