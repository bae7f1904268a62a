#pragma once
// The report preview: a window of its own that lives until it is closed,
// showing one finished page at a time, with page navigation, zoom, fit to
// width, printing through the platform's print dialog and saving as PDF.

#include <QWidget>

#include "layout.h"

class QComboBox;
class QLabel;
class QScrollArea;

namespace report {

class Preview : public QWidget {
    Q_OBJECT
public:
    explicit Preview(Document doc, QWidget* parent = nullptr);

    const Document& document() const { return doc_; }
    int currentPage() const { return page_; } // from 0
    void showPage(int page);
    double zoom() const { return zoom_; } // 1.0: actual size
    void setZoom(double zoom);
    void fitWidth();
    bool fittingWidth() const { return fitWidth_; }

    // "印刷": the print dialog, then the printer.
    bool printPages();
    // "PDF保存": asks for a file through the file dialog and writes it.
    bool savePdf();

    // Opens a preview window for the document and shows its first page.
    static Preview* open(Document doc);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void render();
    Document doc_;
    int page_ = 0;
    double zoom_ = 1.0;
    bool fitWidth_ = false;
    QScrollArea* scroll_;
    QLabel* pageImage_;
    QLabel* pageText_;
    QComboBox* zoomBox_;
};

} // namespace report
