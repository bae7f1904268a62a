#pragma once
// Drawing laid-out pages: one painter for the printer, PDF files and the
// preview; printing and PDF saving with their failures in words a user can
// be shown.

#include <QImage>
#include <QString>
#include <functional>

#include "layout.h"

class QPainter;
class QPrinter;
class QWidget;

namespace report {

// Draws one page with the painter's coordinates in twips from the paper's
// top-left corner (the caller scales the painter to its device).
void paintPage(QPainter& painter, const Page& page);

// The page as a picture, white paper, at the given pixels per inch.
QImage renderPage(const Document& doc, int page, double dpi);

// Writes every page to a PDF file, replacing it only once it is whole.
// False with *error naming the file when it cannot be written.
bool writePdf(const Document& doc, const QString& path, QString* error);

// Draws every page on a printer that is set up already.
bool printOn(const Document& doc, QPrinter& printer, QString* error);

// The printer a print job goes to. The default takes the system's default
// printer and fails with a message when there is none; chooseInDialog shows
// the platform's print dialog first (false: the user cancelled). Tests
// replace both.
struct Printing {
    static std::function<bool(QPrinter& printer, QString* error)>& setUp();
    static std::function<bool(QPrinter& printer, QWidget* parent)>& chooseInDialog();
};

// Prints the document, asking through the dialog when withDialog; a
// missing or failing printer is reported in a message box and nothing else
// happens. True when the pages went out.
bool printDocument(const Document& doc, QWidget* parent, bool withDialog);

} // namespace report
