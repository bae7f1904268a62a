#pragma once
// The hint window: the office's own note for each hint button of each
// screen, kept in RbHint of the work database. One window for the whole
// program; every hint button opens it through OpenHint.

#include <QColor>
#include <QString>
#include <QWidget>

class QLabel;
class QPlainTextEdit;

namespace vx {
class VxCmdBtn;
}

namespace masters {

// The keys of a note: the screen's name, its hint button's name and the
// screen's caption when the note is saved.
struct HintKeys {
    QString formName;
    QString ctlName;
    QString formTitle;
};

// The keys set by the last hint button that opened the window.
HintKeys& hintKeys();

// A hint button's command: keys from the screen (its object name and
// caption) and the button's name, then the window shows that note. While
// the window is open it is only brought forward and keeps its note.
void OpenHint(QWidget* screen, const QString& buttonName);
// The one hint window, or null when it is not open.
QWidget* hintWindow();

class Hint : public QWidget {
    Q_OBJECT
public:
    // Takes the current hint keys and reads their note.
    explicit Hint(QWidget* parent = nullptr);

    const HintKeys& keys() const { return keys_; }
    bool editing() const;

    // Each does nothing when the screen or button key is empty; the writes
    // report whether they were stored.
    void ReadHint();
    bool EntryHint();
    bool Deleteヒント();

    static const QColor& normalColor();
    static const QColor& editColor();

private:
    void toggleEdit();
    void save();
    void remove();
    bool hasKeys() const;

    // The window keeps the keys it opened with: a later hint button must
    // not make it save this note under another button.
    HintKeys keys_;
    QLabel* lblFormName_;
    QLabel* lblCtlName_;
    QLabel* lblFormTitle_;
    QPlainTextEdit* txtContents_;
    vx::VxCmdBtn* cmd編集_;
};

} // namespace masters
