#include "preview.h"

#include "accessible.h"
#include "fkeyrow.h"
#include "output.h"
#include "platform.h"
#include "showmsg.h"
#include "vxcmdbtn.h"

#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace report {
namespace {

// Screen pixels per inch at 100 %.
double screenDpi() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInch() : 96.0;
}

constexpr double kZooms[] = {0.25, 0.5, 0.75, 1.0, 1.5, 2.0};

} // namespace

Preview::Preview(Document doc, QWidget* parent)
    : QWidget(parent)
    , doc_(std::move(doc)) {
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(doc_.title.isEmpty() ? QStringLiteral("プレビュー")
                                        : doc_.title + QStringLiteral(" - プレビュー"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* root = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    auto button = [&](const char* name, const char* caption, std::function<void()> f) {
        auto* b = new vx::VxCmdBtn(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromUtf8(name));
        connect(b, &vx::VxCmdBtn::Click, this, std::move(f));
        bar->addWidget(b);
        return b;
    };
    button("cmd先頭", "|◀", [this] { showPage(0); });
    button("cmd前", "◀", [this] { showPage(page_ - 1); });
    pageText_ = new QLabel(this);
    pageText_->setObjectName(QStringLiteral("lblPage"));
    pageText_->setMinimumWidth(90);
    pageText_->setAlignment(Qt::AlignCenter);
    bar->addWidget(pageText_);
    button("cmd次", "▶", [this] { showPage(page_ + 1); });
    button("cmd最後", "▶|", [this] { showPage(doc_.pageCount() - 1); });
    zoomBox_ = new QComboBox(this);
    zoomBox_->setObjectName(QStringLiteral("cmbZoom"));
    for (double z : kZooms) {
        zoomBox_->addItem(QString::number(qRound(z * 100)) + QStringLiteral(" %"), z);
    }
    zoomBox_->addItem(QStringLiteral("幅に合わせる"), 0.0);
    auto* zoomLabel = new QLabel(QStringLiteral("倍率"), this);
    bar->addWidget(zoomLabel);
    bar->addWidget(zoomBox_);
    ui::nameByLabel(zoomBox_, zoomLabel);
    connect(zoomBox_, &QComboBox::activated, this, [this](int i) {
        const double z = zoomBox_->itemData(i).toDouble();
        if (z > 0) {
            setZoom(z);
        } else {
            fitWidth();
        }
    });
    button("cmd幅", "幅に合わせる", [this] { fitWidth(); });
    button("cmd印刷", "印刷", [this] { printPages(); });
    button("cmdPDF", "PDF保存", [this] { savePdf(); });
    button("cmd閉じる", "閉じる", [this] { close(); });
    bar->addStretch();
    root->addLayout(bar);

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("PageArea"));
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);
    pageImage_ = new QLabel;
    pageImage_->setObjectName(QStringLiteral("PageImage"));
    scroll_->setWidget(pageImage_);
    scroll_->viewport()->installEventFilter(this);
    root->addWidget(scroll_, 1);
    root->addWidget(new ui::FunctionKeyRow({{Qt::Key_PageUp, QStringLiteral("前頁"), "cmd前"},
                                            {Qt::Key_PageDown, QStringLiteral("次頁"), "cmd次"},
                                            {Qt::Key_F7, QStringLiteral("印刷"), "cmd印刷"},
                                            {Qt::Key_Escape, QStringLiteral("閉じる"), "cmd閉じる"}},
                                           this));
    ui::nameWindow(this);
    resize(1100, 800);
    zoomBox_->setCurrentIndex(zoomBox_->count() - 1);
    fitWidth_ = true;
    render();
}

Preview* Preview::open(Document doc) {
    auto* p = new Preview(std::move(doc));
    p->show();
    p->raise();
    p->activateWindow();
    return p;
}

void Preview::showPage(int page) {
    page = std::clamp(page, 0, std::max(0, doc_.pageCount() - 1));
    if (page == page_ && !pageImage_->pixmap().isNull()) {
        return;
    }
    page_ = page;
    render();
    scroll_->verticalScrollBar()->setValue(0);
}

void Preview::setZoom(double zoom) {
    fitWidth_ = false;
    zoom_ = std::clamp(zoom, 0.1, 4.0);
    for (int i = 0; i < zoomBox_->count(); ++i) {
        if (qFuzzyCompare(zoomBox_->itemData(i).toDouble(), zoom_)) {
            zoomBox_->setCurrentIndex(i);
        }
    }
    render();
}

void Preview::fitWidth() {
    fitWidth_ = true;
    zoomBox_->setCurrentIndex(zoomBox_->count() - 1);
    render();
}

bool Preview::eventFilter(QObject* o, QEvent* e) {
    // Fitting the width follows the page area, which knows its size only
    // once the window is laid out.
    if (o == scroll_->viewport() && e->type() == QEvent::Resize && fitWidth_) {
        render();
    }
    return QWidget::eventFilter(o, e);
}

void Preview::render() {
    if (fitWidth_ && doc_.paper.width() > 0) {
        const int room = std::max(100, scroll_->viewport()->width() - 24);
        zoom_ = room / (doc_.paper.width() * screenDpi() / kTwipsPerInch);
    }
    // Only the page shown is drawn, so a report of hundreds of pages opens at once.
    pageImage_->setPixmap(QPixmap::fromImage(renderPage(doc_, page_, screenDpi() * zoom_)));
    pageImage_->adjustSize();
    pageText_->setText(QStringLiteral("%1 / %2").arg(page_ + 1).arg(doc_.pageCount()));
    for (const char* n : {"cmd先頭", "cmd前"}) {
        findChild<vx::VxCmdBtn*>(QString::fromUtf8(n))->setEnabled(page_ > 0);
    }
    for (const char* n : {"cmd次", "cmd最後"}) {
        findChild<vx::VxCmdBtn*>(QString::fromUtf8(n))->setEnabled(page_ + 1 < doc_.pageCount());
    }
}

bool Preview::printPages() {
    return printDocument(doc_, this, true);
}

bool Preview::savePdf() {
    ui::DialogRecord record;
    record.filter = QStringLiteral("PDF ファイル(*.pdf)|*.pdf|");
    record.title = QStringLiteral("PDF保存");
    record.defaultName = (doc_.title.isEmpty() ? QStringLiteral("report") : doc_.title) +
                         QStringLiteral(".pdf");
    record.initialDir = QDir::homePath();
    if (!ui::ShowSaveDialog(this, record) || record.path.isEmpty()) {
        return false;
    }
    QString path = record.path;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        path += QStringLiteral(".pdf");
    }
    QString error;
    if (!writePdf(doc_, path, &error)) {
        ui::ShowMsg(QStringLiteral("印刷"), QStringLiteral("保存失敗"), error);
        return false;
    }
    return true;
}

} // namespace report
