#include "clsgojuren.h"

#include "frmgojuren.h"

namespace {

const char* const kCustomerNameProperty = "pc顧客名";

// One copy per loaded library, kept between uses: the paths of the last
// FormShow and the code chosen in the last picker (empty at load).
struct Shared {
    QString dataFile;
    QString workFile;
    QString resultCode;
};
Shared& shared() {
    static Shared s;
    return s;
}

} // namespace

ClsGojuren::ClsGojuren(QObject* parent)
    : QObject(parent) {
    setProperty(kCustomerNameProperty, QString());
}

ClsGojuren::~ClsGojuren() = default;

QString ClsGojuren::pc顧客名() const {
    return property(kCustomerNameProperty).toString();
}

void ClsGojuren::setPc顧客名(const QString& name) {
    setProperty(kCustomerNameProperty, name);
}

std::function<void(QDialog&)>& ClsGojuren::dialogScript() {
    static std::function<void(QDialog&)> script;
    return script;
}

bool ClsGojuren::FormShow() {
    Shared& s = shared();
    s.dataFile = pcDataFile_;
    s.workFile = pcWorkFile_;
    lastError_.clear();
    std::unique_ptr<gojuren::FrmGojuren> dialog =
        gojuren::FrmGojuren::create(s.dataFile, s.workFile, &lastError_);
    if (!dialog) {
        // No picker ran, so no earlier choice may come back from SetRetVal.
        s.resultCode.clear();
        return false;
    }
    if (const auto& script = dialogScript()) {
        dialog->setModal(true);
        dialog->show();
        script(*dialog);
        if (dialog->isVisible()) {
            dialog->close();
        }
    } else {
        dialog->exec();
    }
    s.resultCode = dialog->resultCode();
    return true;
}

QVariant ClsGojuren::SetRetVal() {
    pccode_ = shared().resultCode;
    return {};
}
