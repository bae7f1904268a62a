#include "clszipora.h"

#include "fmzipora.h"

namespace {

// One copy per loaded library, shared by every instance.
struct LibraryState {
    QString dataPath;
    QString yubinPath;
    QString resultCode;
    QString resultAddress;
};

LibraryState& state() {
    static LibraryState s;
    return s;
}

const char* const k郵便番号 = "pc郵便番号";
const char* const k住所 = "pc住所";
const char* const kDtDir = "pcDtDir";
const char* const kYubinDir = "pcYubinDir";
const char* const kData = "pcData";
const char* const kYubin = "pcYubin";

} // namespace

ClsZipora::ClsZipora(QObject* parent)
    : QObject(parent) {
    setObjectName(QStringLiteral("ClsZipora"));
    // Made in the interface order, all empty.
    for (const char* name : {k郵便番号, k住所, kDtDir, kYubinDir, kData, kYubin}) {
        setProperty(name, QString());
    }
}

QString ClsZipora::pc郵便番号() const {
    return property(k郵便番号).toString();
}
void ClsZipora::setPc郵便番号(const QString& v) {
    setProperty(k郵便番号, v);
}
QString ClsZipora::pc住所() const {
    return property(k住所).toString();
}
void ClsZipora::setPc住所(const QString& v) {
    setProperty(k住所, v);
}
QVariant ClsZipora::pcDtDir() const {
    return property(kDtDir);
}
void ClsZipora::setPcDtDir(const QVariant& v) {
    setProperty(kDtDir, v);
}
QVariant ClsZipora::pcYubinDir() const {
    return property(kYubinDir);
}
void ClsZipora::setPcYubinDir(const QVariant& v) {
    setProperty(kYubinDir, v);
}
QVariant ClsZipora::pcData() const {
    return property(kData);
}
void ClsZipora::setPcData(const QVariant& v) {
    setProperty(kData, v);
}
QVariant ClsZipora::pcYubin() const {
    return property(kYubin);
}
void ClsZipora::setPcYubin(const QVariant& v) {
    setProperty(kYubin, v);
}

ClsZipora::~ClsZipora() = default;

std::function<void(QDialog& dialog)>& ClsZipora::dialogScript() {
    static std::function<void(QDialog&)> script;
    return script;
}

bool ClsZipora::FormShow() {
    LibraryState& s = state();
    s.dataPath = pcData().toString();
    s.yubinPath = pcYubin().toString();
    error_.clear();

    zipora::FmZipora dialog; // no owner window
    if (!dialog.open(s.dataPath, s.yubinPath, &error_)) {
        return false;
    }
    if (const auto& script = dialogScript()) {
        dialog.show();
        script(dialog);
        if (dialog.isVisible()) {
            dialog.reject();
        }
    } else {
        dialog.exec();
    }
    s.resultCode = dialog.resultCode();
    s.resultAddress = dialog.resultAddress();
    return true;
}

QVariant ClsZipora::SetRetVal() {
    setPc郵便番号(state().resultCode);
    setPc住所(state().resultAddress);
    return {};
}
