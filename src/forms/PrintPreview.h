#pragma once

#include <QDialog>

class PrintDocument;
class QComboBox;
class QLabel;
class QPrinter;
class QSpinBox;

// The preview of a print: one page at a time, drawn when it is shown, so that the first page
// is there at once however long the result, whole, as wide as the view or at a percentage
// (Ctrl+wheel zooms). The pages follow the printer's paper and
// orientation (横向 unless changed here or in the print dialog). 打印… opens the print dialog;
// once it is accepted the preview closes accepted, the pages to print set on the printer.
class PrintPreview : public QDialog {
    Q_OBJECT
public:
    PrintPreview(PrintDocument& document, QPrinter& printer, QWidget* parent);

    QPrinter& printer() const { return printer_; }
    int currentPage() const; // from 0

    void showPage(int index);
    // Ctrl+wheel: `steps` zooms in (more than 0) or out from the scale shown.
    void zoomBy(int steps);
    // 打印…: the print dialog over the preview.
    void askToPrint();

private:
    void layOut();

    PrintDocument& document_;
    QPrinter& printer_;
    QWidget* page_;
    QSpinBox* pageNumber_;
    QLabel* pageCount_;
    QComboBox* orientation_;
    QComboBox* zoom_;
};

// The printable area of the printer's page in grid pixels (96 to the inch), as the document's
// pages are laid out for it.
QSizeF printableArea(const QPrinter& printer);
