#pragma once
// The few operations that reach past the toolkit: ending the program at
// once, a brief pointer nudge, file dialogs driven by "description|pattern|"
// filters, a file-size query, and Japanese input on or off for a widget.

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace ui {

// Ends the program's own process at once with status 0 (nothing after it
// runs). A null window does nothing. Tests replace the ending.
void EndWindowProcess(QWidget* window);
std::function<void(int status)>& processEnder();

// Moves the pointer to the screen's top-left corner for 500 ms (events keep
// running) and back to where it was before.
void NudgeMouse();

struct DialogRecord {
    QString filter;      // "WAV ファイル(*.wav)|*.wav|"
    int filterIndex = 1; // counted from 1
    QString title;
    QString defaultName;
    QString initialDir;
    // The save dialog's own question before replacing a file; off when the
    // caller asks it.
    bool confirmOverwrite = true;
    // out
    QString path;
    QString fileName;
};

// True when a file was chosen (path and fileName filled); false on cancel.
bool ShowSaveDialog(QWidget* owner, DialogRecord& record);
bool ShowOpenDialog(QWidget* owner, DialogRecord& record);

// The filter text as Qt's name filters: "WAV ファイル(*.wav) (*.wav)".
QStringList nameFilters(const QString& filterText);

// The seam of the file dialogs: while scripted, each dialog takes the next
// scripted path ("" is a cancel) and is recorded instead of shown.
class FileDialogs {
public:
    struct Asked {
        bool save;
        QString title;
        QString directory; // initial folder joined with the default name
        QStringList filters;
        QString selectedFilter;
    };
    static void script(const QStringList& nextFileNames);
    static void unscript();
    static QList<Asked> asked();
};

// Size in bytes; -1 for a missing or unreadable file, 0 for an empty one.
qint64 GetFileLen(const QString& path);

// Switches Japanese text input on or off for a widget.
void SetIme(QWidget* widget, bool on);

} // namespace ui
