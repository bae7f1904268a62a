#pragma once
// FrmKokyakuList, the customer list: customers whose reading begins with
// the given kana, ticked and deleted, located through the kana finder,
// printed as a list or as address labels, and handed to the call desk. The
// list is a view over the work table w顧客マスタ; ticks live there only.
//
// The operations keep the names the office's procedures use and are public
// so that the other screens and the tests reach them.

#include <QWidget>

class QFrame;
class QLineEdit;
class QRadioButton;
class QTableView;

namespace core {
class PagedTableModel;
}

namespace desk {

class FrmKokyakuList : public QWidget {
public:
    explicit FrmKokyakuList(QWidget* parent = nullptr);
    ~FrmKokyakuList() override;

    void Clear顧客一覧();
    void Read顧客一覧();
    void OnOff顧客一覧(bool flag);
    void Delete顧客マスタ();
    // "顧客": the kana finder's customer becomes the grid's current row.
    void FindCustomer();
    // "メイン": the current customer goes to the desk.
    void MenuWithHandOver();
    void Back();

    // The print panel frm印刷選択.
    void TogglePrintPanel();
    void PrintOptions();  // cmdオプション
    void StartPrinting(); // cmd印刷開始
    void SetPrnData(bool print);
    void ExecTackPrn(bool print);

    core::PagedTableModel* listModel() const { return model_; }
    int currentRow() const;
    void setCurrentRow(int row);

private:
    void build();
    void connectCommands();
    // The ticked rows of the list, in its order: what the outputs print.
    static QString tickedRows();

    QLineEdit* txtふりがな_;
    QTableView* grid明細_;
    QFrame* frm印刷選択_;
    QRadioButton* opt印刷_[4];
    core::PagedTableModel* model_ = nullptr;
};

} // namespace desk
