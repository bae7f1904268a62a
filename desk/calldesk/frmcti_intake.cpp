// The caller-ID line of the desk and the intake of each call.

#include "frmcti.h"
#include "frmcti_p.h"

#include "database.h"
#include "decoder.h"
#include "intake.h"
#include "lineconfig.h"
#include "lookups.h"
#include "paths.h"
#include "platform.h"
#include "serialline.h"
#include "settings.h"
#include "showmsg.h"
#include "worktablemodel.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QSoundEffect>

using core::db::Recordset;
using Kind = core::db::Recordset::Kind;

namespace desk {

std::function<void(const QString&)>& FrmCti::soundPlayer() {
    // Started without waiting; a missing file or sound device is skipped.
    static std::function<void(const QString&)> player = [](const QString& path) {
        if (!QFileInfo::exists(path)) {
            return;
        }
        static QSoundEffect* effect = nullptr;
        if (!effect) {
            effect = new QSoundEffect(qApp);
        }
        effect->setSource(QUrl::fromLocalFile(path));
        effect->play();
    };
    return player;
}

std::function<QDateTime()>& FrmCti::clock() {
    static std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    return now;
}

// ------------------------------------------------------------------ the line

void FrmCti::openLine() {
    const core::Settings& s = core::settings();
    line_ = std::make_unique<callerid::SerialLine>();
    line_->setDataDir(core::paths().dataDir);
    decoder_ = std::make_unique<callerid::Decoder>();
    lineValues_ = std::make_unique<callerid::LineValues>();
    callerid::LineValues& v = *lineValues_;
    v.ta = s.TA;
    v.nAdapter = s.NAdapter;
    v.parity = s.パリティ.size() == 1 ? s.パリティ.toLower() : callerid::parityLetter(s.パリティ);
    v.dataBits = s.データビット;
    v.baud = s.ボーレート;
    v.port = s.ポート番号;
    v.stopBits = s.ストップビット;
    callerid::SetCommInfo(dataDb(), v, *line_);
    auto showFailure = [this](const QString& why) {
        lineStatus_->setText(QStringLiteral("着信を受けられません: ") + why);
        lineStatus_->show();
    };
    if (!callerid::openLine(*line_, v)) {
        showFailure(line_->lastError());
    }
    connect(line_.get(), &callerid::SerialLine::lineFailed, this, showFailure);
    events_ = std::make_unique<callerid::LineEvents>(*line_, s, *decoder_);
    events_->showNotice = [](const QString& t) { ui::showNotice(QString(), t); };
    connect(events_.get(), &callerid::LineEvents::restoreWindow, this, [this] {
        if (windowState() & Qt::WindowMinimized) {
            setWindowState(windowState() & ~Qt::WindowMinimized);
        }
        showNormal();
        raise();
        activateWindow();
    });
    connect(events_.get(), &callerid::LineEvents::callArrived, this,
            [this](const QString& n) { Proc着信(n); });
}

QString FrmCti::lineStatus() const {
    return lineStatus_->isVisible() || !line_->portOpen() ? lineStatus_->text() : QString();
}

// ------------------------------------------------------------------ intake

void FrmCti::PlayCallSound() {
    if (core::settings().着信サウンド && soundPlayer()) {
        soundPlayer()(core::settings().着信サウンドパス);
    }
}

void FrmCti::Proc着信(const QString& number) {
    ui::NudgeMouse();
    PlayCallSound();
    Clear顧客情報画面();
    QVariant code;
    QString name;
    core::GetTelOwner(dataDb(), number, code, name);
    // The list's rebuild is one unit of work on the work database.
    core::db::Transaction listTx(workDb());
    workDb().execute(QStringLiteral("delete * from w着信表示ソート"));
    workDb().execute(QStringLiteral(
        "insert into w着信表示ソート select * from w着信表示 order by 日付時間 DESC;"));
    const QDateTime now = clock()();
    const QDate day = now.date();
    const QTime time(now.time().hour(), now.time().minute(), now.time().second());
    const QDateTime moment(day, time);
    {
        Recordset rs = workDb().openRecordset(
            QStringLiteral(
                "select * from w着信表示ソート where 日付時間 = ? order by 日付時間 DESC;"),
            Kind::Dynaset, {moment});
        if (rs.isOpen() && rs.eof()) {
            rs.addNew();
            rs.setField(QStringLiteral("日付時間"), moment);
            rs.setField(QStringLiteral("日付"), day);
            rs.setField(QStringLiteral("時間"), time);
            rs.setField(QStringLiteral("電話番号"), number == callerid::kWithheld ? kNotified
                                                    : number == callerid::kPublicPhone
                                                        ? kPublicPhoneText
                                                        : number);
            rs.setField(QStringLiteral("名称"), name);
            rs.setField(QStringLiteral("新規"), true);
            rs.update();
        }
    }
    workDb().execute(QStringLiteral("delete * from w着信表示"));
    workDb().execute(QStringLiteral(
        "insert into w着信表示 select * from w着信表示ソート order by 日付時間 DESC;"));
    listTx.commit();
    refreshList();
    setCurrentListRow(0);
    SeekTelNo(number, day, time);
    Entry着信データ(number);
}

} // namespace desk
