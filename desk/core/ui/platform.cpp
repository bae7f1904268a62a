#include "platform.h"

#include "lookups.h"

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputMethod>
#include <QWidget>
#include <cstdio>
#include <unistd.h>

namespace ui {

std::function<void(int)>& processEnder() {
    static std::function<void(int)> ender = [](int status) {
        std::fflush(nullptr);
        ::_exit(status);
    };
    return ender;
}

void EndWindowProcess(QWidget* window) {
    if (!window) {
        return;
    }
    processEnder()(0);
}

void NudgeMouse() {
    const QPoint back = QCursor::pos();
    QCursor::setPos(0, 0);
    core::WaitTime(500);
    QCursor::setPos(back);
}

QStringList nameFilters(const QString& filterText) {
    // Pairs of description and pattern, separated by "|"; a missing final
    // "|" ends the list all the same.
    const QStringList parts = filterText.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty() && parts[i + 1].isEmpty()) {
            break;
        }
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return out;
}

namespace {

struct DialogScript {
    bool on = false;
    QStringList next;
    QList<FileDialogs::Asked> asked;
};
DialogScript& dialogScript() {
    static DialogScript s;
    return s;
}

bool runDialog(bool save, QWidget* owner, DialogRecord& r) {
    const QStringList filters = nameFilters(r.filter);
    const QString selected = filters.value(std::max(0, r.filterIndex - 1));
    QString start = r.initialDir;
    if (!r.defaultName.isEmpty()) {
        start = start.isEmpty() ? r.defaultName : QDir(start).filePath(r.defaultName);
    }
    QString chosen;
    DialogScript& s = dialogScript();
    if (s.on) {
        s.asked << FileDialogs::Asked{save, r.title, start, filters, selected};
        chosen = s.next.isEmpty() ? QString() : s.next.takeFirst();
    } else {
        QString sel = selected;
        const QString joined = filters.join(QStringLiteral(";;"));
        const QFileDialog::Options options =
            r.confirmOverwrite ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite;
        chosen = save ? QFileDialog::getSaveFileName(owner, r.title, start, joined, &sel, options)
                      : QFileDialog::getOpenFileName(owner, r.title, start, joined, &sel);
    }
    if (chosen.isEmpty()) {
        return false;
    }
    r.path = QDir::toNativeSeparators(chosen);
    r.fileName = QFileInfo(chosen).fileName();
    return true;
}

} // namespace

bool ShowSaveDialog(QWidget* owner, DialogRecord& record) {
    return runDialog(true, owner, record);
}
bool ShowOpenDialog(QWidget* owner, DialogRecord& record) {
    return runDialog(false, owner, record);
}

void FileDialogs::script(const QStringList& nextFileNames) {
    dialogScript().on = true;
    dialogScript().next = nextFileNames;
}
void FileDialogs::unscript() {
    dialogScript() = DialogScript{};
}
QList<FileDialogs::Asked> FileDialogs::asked() {
    return dialogScript().asked;
}

qint64 GetFileLen(const QString& path) {
    QFileInfo info(path);
    if (!info.exists() || !info.isFile()) {
        return -1;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return -1;
    }
    return f.size();
}

void SetIme(QWidget* widget, bool on) {
    if (!widget) {
        return;
    }
    widget->setAttribute(Qt::WA_InputMethodEnabled, on);
    Qt::InputMethodHints hints = widget->inputMethodHints();
    hints.setFlag(Qt::ImhLatinOnly, !on);
    hints.setFlag(Qt::ImhPreferLatin, !on);
    widget->setInputMethodHints(hints);
    if (widget->hasFocus()) {
        QGuiApplication::inputMethod()->update(Qt::ImEnabled | Qt::ImHints);
    }
}

} // namespace ui
