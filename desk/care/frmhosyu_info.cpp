// The Info tab: the version, where the files are and how much they hold,
// the serial device in use, and where to get help.

#include "frmhosyu.h"

#include "database.h"
#include "paths.h"
#include "platform.h"
#include "schema.h"
#include "serialline.h"
#include "settings.h"
#include "startup.h"
#include "vxcmdbtn.h"

#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace care {
namespace {

QString sizeText(const QString& path) {
    const qint64 n = ui::GetFileLen(path);
    if (n < 0) {
        return QStringLiteral("(ありません)");
    }
    return QLocale(QLocale::Japanese).formattedDataSize(n) +
           QStringLiteral(" (%1 バイト)").arg(QLocale(QLocale::Japanese).toString(n));
}

QString countOf(const char* table) {
    if (!core::dataDb()) {
        return QStringLiteral("-");
    }
    const QVariant n =
        core::dataDb()->scalar(QStringLiteral("select count(*) from ") + QString::fromUtf8(table));
    return n.isNull() ? QStringLiteral("-") : QLocale(QLocale::Japanese).toString(n.toLongLong());
}

} // namespace

QWidget* FrmHosyu::buildInfoTab() {
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("TabInfo"));
    auto* v = new QVBoxLayout(tab);
    auto* version = new QLabel(QStringLiteral(" Ver ") + core::schema::kVersion, tab);
    version->setObjectName(QStringLiteral("lblVersion"));
    QFont big = version->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    version->setFont(big);
    v->addWidget(version);
    lblInfo_ = new QLabel(tab);
    lblInfo_->setObjectName(QStringLiteral("lblInfo"));
    lblInfo_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblInfo_->setTextFormat(Qt::PlainText);
    v->addWidget(lblInfo_);
    auto* support = new QLabel(
        QStringLiteral("お問い合わせの際は、この画面のバージョンとファイルの場所をお知らせください。\n"
                       "データを読み込む前や一括削除の前には、データファイルのコピーを"
                       "「データ保守」で保存しておくことをおすすめします。"),
        tab);
    support->setObjectName(QStringLiteral("lblSupport"));
    support->setWordWrap(true);
    v->addWidget(support);
    v->addStretch(1);
    return tab;
}

void FrmHosyu::RefreshInfo() {
    const core::Paths& p = core::paths();
    const core::Settings& s = core::settings();
    QStringList lines;
    lines << QStringLiteral("データフォルダ: ") + QDir::toNativeSeparators(p.dataDir);
    lines << QStringLiteral("データファイル: ") + QDir::toNativeSeparators(p.dataDb) +
                 QStringLiteral("  ") + sizeText(p.dataDb);
    lines << QStringLiteral("作業用ファイル: ") + QDir::toNativeSeparators(p.workDb) +
                 QStringLiteral("  ") + sizeText(p.workDb);
    lines << QStringLiteral("郵便番号辞書: ") + QDir::toNativeSeparators(p.postalDb) +
                 QStringLiteral("  ") + sizeText(p.postalDb);
    lines << QString();
    lines << QStringLiteral("顧客: ") + countOf("顧客マスタ") + QStringLiteral(" 件");
    lines << QStringLiteral("電話番号: ") + countOf("電話番号") + QStringLiteral(" 件");
    lines << QStringLiteral("着信履歴: ") + countOf("着信履歴") + QStringLiteral(" 件");
    lines << QString();
    lines << QStringLiteral("着信に使うシリアルデバイス: ポート %1 = %2")
                 .arg(s.ポート番号)
                 .arg(s.ポート番号 > 0 ? callerid::deviceForPort(s.ポート番号, p.dataDir)
                                       : QStringLiteral("-"));
    lines << QStringLiteral("ナンバーディスプレイアダプタ: ") +
                 (s.NAdapter.isEmpty() ? QStringLiteral("(未設定)") : s.NAdapter);
    lblInfo_->setText(lines.join(QLatin1Char('\n')));
}

} // namespace care
