#pragma once
// FrmGojuren (顧客参照): lists customers by the first kana of their reading,
// one button per kana of the syllabary, or by parts of their reading,
// telephone number, name and address, and lets the user pick one. The list
// is the work table w顧客参照, refilled by each search.

#include <QDialog>
#include <QList>
#include <memory>

class QLabel;
class QLineEdit;
class QTableView;

namespace core {
class WorkTableModel;
namespace db {
class Database;
}
} // namespace core
namespace vx {
class VxCmdBtn;
}

namespace gojuren {

class FrmGojuren : public QDialog {
    Q_OBJECT
public:
    static constexpr int kKanaButtons = 50;

    // Opens the work database and checks the data database by path. Null,
    // with *error naming the file, when either cannot be opened; nothing is
    // created in place of a missing file.
    static std::unique_ptr<FrmGojuren> create(const QString& dataFile, const QString& workFile,
                                              QString* error);
    ~FrmGojuren() override;

    // Empties the list; sw also empties the four search boxes.
    void Clear顧客参照(bool sw);
    // Lists the customers matching every filled search box.
    void Exec顧客検索();
    // Lists the customers whose reading begins with ch in any of its forms.
    void ReadSansyo(const QString& ch);

    // Set on every close: the chosen code, or empty.
    QString resultCode() const { return resultCode_; }

protected:
    void done(int result) override;

private:
    FrmGojuren(std::unique_ptr<core::db::Database> work, const QString& dataFile);
    void build();
    void choose();
    void refreshGrid();
    void showBusy(bool on);
    // The data file's path as a text in a statement, and its customers as
    // the statements name them: "顧客マスタ in '<path>'".
    QString quotedDataFile() const;
    QString customersTable() const;

    std::unique_ptr<core::db::Database> work_;
    QString dataFile_;
    core::WorkTableModel* model_ = nullptr;
    QLineEdit* txt電話番号_ = nullptr;
    QLineEdit* txtかな_ = nullptr;
    QLineEdit* txt顧客名_ = nullptr;
    QLineEdit* txt住所1_ = nullptr;
    QTableView* grid参照_ = nullptr;
    QLabel* msg検索中_ = nullptr;
    QString resultCode_;
    bool decided_ = false;
};

} // namespace gojuren
