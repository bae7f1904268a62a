#pragma once
// FrmHosyu, the maintenance screen: the settings record, the caller-ID
// adapter and its line, copies of the data file, bulk deletion and what the
// program knows about its installation. One file per tab area.
//
// The operations keep the names the office's procedures use; they are
// public so that the tests reach them.

#include <QWidget>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTabWidget;

namespace core::db {
class Recordset;
}
namespace vx {
class VxCmdBtn;
}

namespace care {

class FrmHosyu : public QWidget {
public:
    explicit FrmHosyu(QWidget* parent = nullptr);
    ~FrmHosyu() override;

    // ---- settings (設定 and ナンバーディスプレイ)
    void Read自社情報();
    void Entry自社情報();
    void Clear保守画面();
    // Serial defaults of an adapter from 通信マスタ: 10 or none takes アロハPC1's
    // row and also replaces the line settings in memory; 0 takes the row of
    // the adapter shown, on the screen only.
    void SetNDspDefaultset(std::optional<int> sw = std::nullopt);
    void GetWaveFile();

    // ---- data care
    // The floppy backup and restore of the data file (drive A: drives.conf).
    void FDDBuckUp();
    void RestoreFromFloppy();
    void SaveDataFileToHdd();
    void ReadDataFileFromHdd();

    // ---- bulk deletion
    void DeleteAllData();
    void DeleteAllKokyaku(bool withMessages);
    void DelAllCodeMaster();
    void DeleteAll着信履歴();
    void DeleteCodeTables(); // コード表を削除する
    void DelSiteiKokyaku(const QString& code);
    // The customer picker (顧客): the kana finder, then both boxes.
    void PickKokyaku();
    // A typed code: the name box follows it.
    void SetKokyaku(const QString& code);

    // ---- Info
    void RefreshInfo();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    QWidget* buildSettingsTab();
    QWidget* buildDataCareTab();
    QWidget* buildLineTab();
    QWidget* buildDeletionTab();
    QWidget* buildInfoTab();
    void connectCommands();
    void back();
    void toMainMenu();
    bool settingsKey(QObject* o, int key);
    void fillFixedLists();
    // The ナンバーディスプレイ boxes' share of reading, writing and clearing.
    void readLineBoxes(const core::db::Recordset& rs);
    void entryLineBoxes(core::db::Recordset& rs);
    void clearLineBoxes();
    void showPortDevice();
    void lineBoxLeft(QObject* box);

    QTabWidget* tabs_ = nullptr;
    // 設定
    QComboBox* cmb年号_ = nullptr;
    QCheckBox* chkYubinEria_ = nullptr;
    QLineEdit* txtYubinEriaName_ = nullptr;
    QCheckBox* chk着信認識_ = nullptr;
    QCheckBox* chk敬称_ = nullptr;
    QCheckBox* chk担当_ = nullptr;
    QCheckBox* chk用件1_ = nullptr;
    QCheckBox* chk用件2_ = nullptr;
    QCheckBox* chk電話名称_ = nullptr;
    QComboBox* cmb履歴自動削除_ = nullptr;
    QComboBox* cmb着信読込_ = nullptr;
    QComboBox* cmb着信フォーム_ = nullptr;
    QCheckBox* chk着信サウンド_ = nullptr;
    QLineEdit* txtWaveFileName_ = nullptr;
    // ナンバーディスプレイ
    QRadioButton* opt受信モード1_ = nullptr;
    QRadioButton* opt受信モード2_ = nullptr;
    QRadioButton* opt受信モード3_ = nullptr;
    QComboBox* cmbTA_ = nullptr;
    QComboBox* cmbNAdapter_ = nullptr;
    QComboBox* cmbポート番号_ = nullptr;
    QComboBox* cmbボーレート_ = nullptr;
    QComboBox* cmbパリティ_ = nullptr;
    QComboBox* cmbデータビット_ = nullptr;
    QComboBox* cmbストップビット_ = nullptr;
    QLabel* lblPortDevice_ = nullptr;
    // データ一括削除
    QLineEdit* txt顧客コード_ = nullptr;
    QLineEdit* txt顧客_ = nullptr;
    // Info
    QLabel* lblInfo_ = nullptr;
};

// Helpers the tab files share.
vx::VxCmdBtn* makeButton(const QString& name, const QString& caption, QWidget* parent);

} // namespace care
