#pragma once
// FrmCodeMaster, the code tables: staff, purposes, number labels and
// honorifics that feed every pick list. One kind at a time in a grid of the
// 99 codes "01" to "99"; saving replaces the kind's rows.

#include <QString>
#include <QWidget>

class QComboBox;
class QLabel;

namespace masters {

class CodeGrid;
class CodeGridModel;

class FrmCodeMaster : public QWidget {
    Q_OBJECT
public:
    explicit FrmCodeMaster(QWidget* parent = nullptr);

    // The kinds offered, in the kind box's order.
    static QStringList kinds();

    void FormInit();
    void Clearコード明細();
    void Readコードマスタ();
    // True when the kind was stored. ask: the checks, confirmation and
    // notice of the 登録 command.
    bool Entryコードマスタ(bool ask);
    void Deleteコードマスタ();

    QString kind() const;
    CodeGrid* grid() const { return grid_; }
    CodeGridModel* gridModel() const { return model_; }
    QComboBox* kindBox() const { return cmb区分_; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void build();
    void back();
    void toMenu();
    void readCommand();
    void clearCommand();
    void closeCommand();
    bool storeKind(const QString& kind, QString* error);

    QComboBox* cmb区分_;
    CodeGrid* grid_;
    QLabel* lblMsg_;
    CodeGridModel* model_ = nullptr;
};

} // namespace masters
