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

callerid::Decoder& FrmCti::decoder() {
    static callerid::Decoder runWide;
    return runWide;
}

// ------------------------------------------------------------------ the line

void FrmCti::openLine() {
    const core::Settings& s = core::settings();
    line_ = std::make_unique<callerid::SerialLine>();
    line_->setDataDir(core::paths().dataDir);
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
    events_ = std::make_unique<callerid::LineEvents>(*line_, s, decoder());
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
    ++callsTaken_;
    ui::NudgeMouse();
    PlayCallSound();
    Clear顧客情報画面();
    QVariant code;
    QString name;
    core::GetTelOwner(dataDb(), number, code, name);
    // The row carries the code the log will: the caller's, or 0.
    const QVariant listedCode = name == kUnregistered || code.isNull() ? QVariant(0) : code;
    const QDateTime now = clock()();
    const QString shownNumber = number == callerid::kWithheld      ? kNotified
                                : number == callerid::kPublicPhone ? kPublicPhoneText
                                                                   : number;
    QDateTime moment(now.date(),
                     QTime(now.time().hour(), now.time().minute(), now.time().second()));
    // The list's rebuild is one unit of work on the work database: it
    // completes or the old list stays, rows not yet written back included.
    bool rebuilt = false, added = false;
    {
        core::db::Transaction listTx(workDb());
        rebuilt = workDb().execute(QStringLiteral("delete * from w着信表示ソート")) &&
                  workDb().execute(QStringLiteral("insert into w着信表示ソート select * from "
                                                  "w着信表示 order by 日付時間 DESC;"));
        if (rebuilt) {
            // A second that already holds another caller's call (one taken in
            // while this one was still being taken in) would merge the two and
            // lose one from the log: this call takes the next free second. The
            // same caller again within its second stays one call.
            for (int tries = 0; tries < 60; ++tries) {
                Recordset rs = workDb().openRecordset(
                    QStringLiteral("select 電話番号 from w着信表示ソート where 日付時間 = ?"),
                    Kind::Snapshot, {moment});
                if (!rs.isOpen() || rs.eof() ||
                    rs.field(QStringLiteral("電話番号")).toString() == shownNumber) {
                    break;
                }
                moment = moment.addSecs(1);
            }
            Recordset rs = workDb().openRecordset(
                QStringLiteral(
                    "select * from w着信表示ソート where 日付時間 = ? order by 日付時間 DESC;"),
                Kind::Dynaset, {moment});
            if (rs.isOpen() && rs.eof()) {
                rs.addNew();
                rs.setField(QStringLiteral("日付時間"), moment);
                rs.setField(QStringLiteral("日付"), moment.date());
                rs.setField(QStringLiteral("時間"), moment.time());
                rs.setField(QStringLiteral("電話番号"), shownNumber);
                rs.setField(QStringLiteral("名称"), name);
                rs.setField(QStringLiteral("code"), listedCode);
                rs.setField(QStringLiteral("新規"), true);
                added = rs.update();
            }
        }
        rebuilt = rebuilt && workDb().execute(QStringLiteral("delete * from w着信表示")) &&
                  workDb().execute(QStringLiteral("insert into w着信表示 select * from "
                                                  "w着信表示ソート order by 日付時間 DESC;"));
        if (rebuilt) {
            rebuilt = listTx.commit();
        }
    }
    const QDate day = moment.date();
    const QTime time = moment.time();
    refreshList();
    setCurrentListRow(0);
    SeekTelNo(number, day, time);
    const QVariant logged = Entry着信データ(number);
    // The log decided otherwise (a number whose customer is gone reads as
    // unregistered): the row follows it, so that closing writes back the same.
    if (rebuilt && added && logged.isValid() && logged.toLongLong() != listedCode.toLongLong()) {
        workDb().execute(
            QStringLiteral("update w着信表示 set code = ? where 日付時間 = ? and 新規 = True"),
            {logged, moment});
        refreshList();
    }
}

} // namespace desk
