#pragma once
// A screen's function keys: each key presses its command button wherever the
// focus is in the window, and the caption row along the screen's bottom
// names them ("F1 戻る", "F5 登録", "ESC 閉じる").

#include <QFrame>
#include <QKeySequence>
#include <QList>
#include <QString>

namespace ui {

struct FunctionKey {
    Qt::Key key;    // Qt::Key_F1 … Qt::Key_F12, Qt::Key_Escape, …
    QString caption; // shown in the caption row
    QString button;  // object name of the command button it presses; empty: caption only
};

// Built as a child of the screen and placed by the screen's layout. A key
// whose button is disabled or hidden does nothing.
class FunctionKeyRow : public QFrame {
    Q_OBJECT
public:
    FunctionKeyRow(const QList<FunctionKey>& keys, QWidget* screen);

    const QList<FunctionKey>& keys() const { return keys_; }
    // The row as one line of text, keys in the order given.
    QString text() const;
    // "F5", "ESC", "Enter": how the row names a key.
    static QString keyName(Qt::Key key);

private:
    QList<FunctionKey> keys_;
};

} // namespace ui
