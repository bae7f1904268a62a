#pragma once
// FrmCti, the call desk: the incoming-call list, the customer panel with its
// telephone numbers, and the call record. It owns the caller-ID line while
// it is loaded and takes each call in.
//
// The operations keep the names the office's procedures use; they are
// public so that the intake, the other screens and the tests reach them.

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;
class QFrame;

namespace core {
class WorkTableModel;
}
namespace callerid {
class SerialLine;
class Decoder;
class LineEvents;
struct LineValues;
} // namespace callerid
namespace vx {
class VxCmdBtn;
}

namespace desk {

class DateBox;
class TimeBox;

class FrmCti : public QWidget {
public:
    explicit FrmCti(QWidget* parent = nullptr);
    ~FrmCti() override;

    // ---- the screen and its list
    void FormInit();
    void Read着信データ();
    void LineDelete着信表示();
    void Dsp着信詳細();
    // The desk became the active window: applies the hand-over values.
    void Activate();

    // ---- customer panel
    void SeekTelNo(const QString& tel, std::optional<QDate> day, std::optional<QTime> time);
    void Clear顧客情報画面();
    void Entry顧客マスタ(const QString& name);
    void Delete顧客();
    void RegisterCustomer(); // "登録" of the panel
    void FindCustomer();     // "顧客" of the panel (F4): the kana customer finder
    void ClearScreen();      // "クリア" of the panel (F9)

    // ---- telephone numbers
    void Clear電話番号();
    void ReadTelName();
    void Read電話番号();
    void Entry電話番号();
    void DeleteLine電話番号();
    void TelMov();

    // ---- call records
    void Clear用件();
    void Entry着信データ(const QString& tel);
    void Entry着信履歴toWork(bool check);
    void Entry着信履歴toMaster();
    void Read着信履歴();
    void Read用件(int dir);
    void Delete用件();
    void ReEntry着信名称();
    void SetComb(const QString& kind);

    // ---- intake
    void Proc着信(const QString& number);
    void PlayCallSound();
    // How the call sound is played; tests replace it.
    static std::function<void(const QString& path)>& soundPlayer();
    // The moment a call arrives; tests set their own.
    static std::function<QDateTime()>& clock();

    callerid::SerialLine& line() const { return *line_; }
    callerid::LineEvents& lineEvents() const { return *events_; }
    // Empty while the line is open; otherwise why calls cannot be received.
    QString lineStatus() const;

    // The list's current row (-1 when none) and moving it.
    int currentListRow() const;
    void setCurrentListRow(int row);
    core::WorkTableModel* listModel() const { return listModel_; }
    core::WorkTableModel* numbersModel() const { return numbersModel_; }

    // Whether the desk was activated since it was last loaded (run-wide).
    static bool& activatedFlag();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void build();
    void connectCommands();
    void openLine();
    void refreshList();
    void refreshNumbers();
    void nameFocusIn();
    void nameLookup();
    void honorificCheck();
    void comboCheck(QComboBox* combo, int limit, const QString& kind);
    bool lengthCheck(QWidget* control, int limit);
    void postalFill();
    void numberCheck(int row);
    void openScreen(const QString& form);
    void showPanel(QFrame* panel, bool on);
    void applyDateDisplay();
    std::optional<QDateTime> callMoment() const;
    qint32 nextCustomerCode() const;

    // customer panel
    QComboBox* cmb顧客名_;
    QComboBox* cmb敬称_;
    QLineEdit* txtふりがな_;
    QLineEdit* txt郵便番号_;
    QLineEdit* txt住所1_;
    QLineEdit* txt住所2_;
    QLineEdit* txtEmail_;
    QLineEdit* txt顧客メモ_;
    QLineEdit* txt顧客コード_;
    QTableView* grid電話番号_;
    // call data
    QLabel* lbl顧客名_;
    DateBox* dt日付_;
    TimeBox* dt時間_;
    QLineEdit* txtTEL_;
    QComboBox* cmb用件1_;
    QComboBox* cmb用件2_;
    QLineEdit* txt用件メモ_;
    QCheckBox* chk用件済_;
    QComboBox* cmb担当_;
    QFrame* frame日付_;
    // list
    QTableView* grid着信表示_;
    // panels
    QFrame* cn着信Msg_;
    QFrame* cnMsg_;
    QLabel* lineStatus_;

    core::WorkTableModel* listModel_ = nullptr;
    core::WorkTableModel* numbersModel_ = nullptr;
    std::unique_ptr<callerid::SerialLine> line_;
    std::unique_ptr<callerid::Decoder> decoder_;
    std::unique_ptr<callerid::LineEvents> events_;
    std::unique_ptr<callerid::LineValues> lineValues_;
    bool nameWasUnregistered_ = false;
    bool closing_ = false;
};

inline const QString kNotified = QStringLiteral("非通知");
inline const QString kPublicPhoneText = QStringLiteral("公衆電話");

} // namespace desk
