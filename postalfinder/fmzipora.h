#pragma once
// FmZipora, "郵便番号検索": finds an address in the postal dictionary by
// code, by the prefecture → city → town lists and their kana type-ahead, or
// by a kana search on city or town names, and hands back the code and the
// address text chosen.
//
// The dialog opens both database files itself by path and closes them when
// it closes. Its operations are public so that tests drive them directly.

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "zipgrid.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;

namespace core::db {
class Database;
class Recordset;
} // namespace core::db

namespace zipora {

class FmZipora : public QDialog {
    Q_OBJECT
public:
    // At most this many rows, the blank one included, reach the grid.
    static constexpr int kMaxGridRows = 30001;

    explicit FmZipora(QWidget* parent = nullptr);
    ~FmZipora() override;

    // Opens both files and runs the opening steps. False, with a message
    // naming the file, when one of them cannot be opened.
    bool open(const QString& dataPath, const QString& yubinPath, QString* error);

    // What 選択 returned; both empty after 閉じる, ESC or any other close.
    const QString& resultCode() const { return resultCode_; }
    const QString& resultAddress() const { return resultAddress_; }

    void Clear郵便検索();
    void read都道府県();
    void read市町村();
    void read町名();
    void ReadGrid町名();
    void Seek郵便番号();
    void Seek市町村かな(int mode);
    QString Get都道府県名(const QString& kana);
    QString Get市町村名(const QString& kana);
    QString Get町名(const QString& kana);
    void ChkLocalEria();

    // The commands behind the buttons.
    void search();
    void clearAll();
    void choose();
    void closeEmpty();

    ZipGridModel& grid() { return model_; }
    // Typed kana waiting in the type-ahead of each list box.
    const QString& prefectureBuffer() const { return buffer_[0]; }
    const QString& cityBuffer() const { return buffer_[1]; }
    const QString& townBuffer() const { return buffer_[2]; }

    void reject() override;
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum Box { Prefecture, City, Town };

    void build();
    void connectControls();
    // The common load: shows the busy notice, walks the statement's rows,
    // skipping those whose `mustHave` field is Null, and hands the kept rows
    // to the grid with the blank row after them. A failing query leaves the
    // grid as it was and returns false; *kept has the rows read until then,
    // *anyRow whether the statement gave a row at all.
    bool loadGrid(const QString& sql, const QVariantList& params, ZipColumn mustHave,
                  std::vector<ZipRow>* kept, bool* anyRow = nullptr);
    void showGridRows(std::vector<ZipRow> rows);
    QString currentGridCode() const;
    int currentGridRow() const;
    void gridRowChanged(int row);
    void typeAhead(Box box, QChar typed);
    void leaveBox(Box box);
    QComboBox* boxOf(QObject* watched, Box* which) const;
    void focusNextOf(Box box, bool forward);

    std::unique_ptr<core::db::Database> data_;
    std::unique_ptr<core::db::Database> yubin_;
    QString buffer_[3];
    QString resultCode_;
    QString resultAddress_;
    bool loading_ = false;

    QLineEdit* txt郵便番号_ = nullptr;
    QComboBox* cmb都道府県_ = nullptr;
    QComboBox* cmb市町村_ = nullptr;
    QComboBox* cmb町名_ = nullptr;
    QLineEdit* txt番地_ = nullptr;
    QLineEdit* txt市町村かな_ = nullptr;
    QLineEdit* txt町名かな_ = nullptr;
    QTableView* grid_ = nullptr;
    QLabel* msg検索_ = nullptr;
    ZipGridModel model_;
};

} // namespace zipora
