#include "output.h"

#include "showmsg.h"
#include "vxcommon.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>

namespace report {
namespace {

QFont itemFont(const Placed& p) {
    QFont f(p.font);
    // Sizes in twips (20 a point): the painter works in twips.
    f.setPixelSize(std::max(1, qRound(p.size * 20)));
    f.setBold(p.bold);
    return f;
}

QPageLayout pageLayoutOf(const Document& doc) {
    return QPageLayout(doc.pageSize, doc.orientation, QMarginsF(0, 0, 0, 0));
}

bool drawAll(const Document& doc, QPagedPaintDevice& device, QPainter& painter, double scale,
             const std::function<void()>& newPage) {
    for (int i = 0; i < doc.pageCount(); ++i) {
        if (i > 0) {
            newPage();
        }
        painter.save();
        painter.scale(scale, scale);
        paintPage(painter, doc.page(i));
        painter.restore();
    }
    return true;
}

void fontsOnce() {
    static const bool done = [] {
        vx::common::installFontSubstitutes();
        return true;
    }();
    (void)done;
}

} // namespace

void paintPage(QPainter& painter, const Page& page) {
    fontsOnce();
    QPen pen(Qt::black);
    pen.setWidth(15); // about a quarter of a millimetre
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const Placed* current = nullptr; // the item whose font the painter has
    for (const Placed& p : page.items) {
        switch (p.kind) {
        case ItemKind::Rectangle:
            painter.drawRect(p.rect);
            break;
        case ItemKind::Line:
            painter.drawLine(p.rect.topLeft(),
                             p.rect.topLeft() + QPoint(p.rect.width(), p.rect.height()));
            break;
        default:
            if (!p.text.isEmpty()) {
                // Most items share a few fonts: switch only when it changes.
                if (!current || current->font != p.font || current->size != p.size ||
                    current->bold != p.bold) {
                    painter.setFont(itemFont(p));
                    current = &p;
                }
                const int flags = int(p.align) | Qt::AlignTop | Qt::TextSingleLine;
                if (p.kind == ItemKind::PageNumber || p.kind == ItemKind::PageCount) {
                    // A page number of more digits than its box was made for
                    // still prints whole rather than losing its last digits.
                    painter.drawText(p.rect, flags | Qt::TextDontClip, p.text);
                } else if (painter.hasClipping()) {
                    // A text longer than its box is cut at the box's edge: on
                    // a label sheet it must never run onto the next label.
                    painter.save();
                    painter.setClipRect(p.rect, Qt::IntersectClip);
                    painter.drawText(p.rect, flags, p.text);
                    painter.restore();
                } else {
                    painter.setClipRect(p.rect);
                    painter.drawText(p.rect, flags, p.text);
                    painter.setClipping(false);
                }
            }
            break;
        }
    }
}

QImage renderPage(const Document& doc, int page, double dpi) {
    const double scale = dpi / kTwipsPerInch;
    QImage image(std::max(1, qRound(doc.paper.width() * scale)),
                 std::max(1, qRound(doc.paper.height() * scale)), QImage::Format_RGB32);
    image.fill(Qt::white);
    if (page < 0 || page >= doc.pageCount()) {
        return image;
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    paintPage(painter, doc.page(page));
    return image;
}

bool writePdf(const Document& doc, const QString& path, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) {
            *error = path;
        }
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(doc.title);
        writer.setCreator(QStringLiteral("RBCTI Pro"));
        writer.setResolution(kTwipsPerInch);
        writer.setPageLayout(pageLayoutOf(doc));
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.cancelWriting();
            if (error) {
                *error = path;
            }
            return false;
        }
        drawAll(doc, writer, painter, 1.0, [&] { writer.newPage(); });
        painter.end();
    }
    if (!file.commit()) {
        if (error) {
            *error = path;
        }
        return false;
    }
    return true;
}

bool printOn(const Document& doc, QPrinter& printer, QString* error) {
    printer.setFullPage(true);
    printer.setPageLayout(pageLayoutOf(doc));
    printer.setDocName(doc.title);
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (error) {
            *error = printer.printerName();
        }
        return false;
    }
    const double scale = double(printer.resolution()) / kTwipsPerInch;
    drawAll(doc, printer, painter, scale, [&] { printer.newPage(); });
    const bool ok = painter.end() && printer.printerState() != QPrinter::Error;
    if (!ok && error) {
        *error = printer.printerName();
    }
    return ok;
}

std::function<bool(QPrinter&, QString*)>& Printing::setUp() {
    static std::function<bool(QPrinter&, QString*)> f = [](QPrinter& printer, QString* error) {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull()) {
            *error = QString();
            return false;
        }
        printer.setPrinterName(info.printerName());
        return true;
    };
    return f;
}

std::function<bool(QPrinter&, QWidget*)>& Printing::chooseInDialog() {
    static std::function<bool(QPrinter&, QWidget*)> f = [](QPrinter& printer, QWidget* parent) {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    };
    return f;
}

bool printDocument(const Document& doc, QWidget* parent, bool withDialog) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(pageLayoutOf(doc));
    QString error;
    if (!Printing::setUp()(printer, &error)) {
        ui::ShowMsg(QStringLiteral("印刷"), QStringLiteral("プリンタなし"));
        return false;
    }
    if (withDialog && !Printing::chooseInDialog()(printer, parent)) {
        return false;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool printed = printOn(doc, printer, &error);
    QGuiApplication::restoreOverrideCursor();
    if (!printed) {
        ui::ShowMsg(QStringLiteral("印刷"), QStringLiteral("印刷失敗"),
                    error.isEmpty() ? QStringLiteral("プリンタ") : error);
        return false;
    }
    return true;
}

} // namespace report
