#pragma once

#include "Cp936.h"
#include "RecordBlock.h"
#include "db/WorkControl.h"
#include "table/CellText.h"
#include "table/ExportLayout.h"

#include <QString>

#include "table/TableSnapshot.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <vector>

class ResultColumn;
class SaveStream;

// The walk over a grid that every file writer shares: titles, then every record in the order
// the grid shows, then the footer row, each cell handed to the writer's hooks with its text,
// font, colour and alignment. Sums are added up during the walk in ten-thousandths. The
// query's cursor is not moved, so that the grid can go on showing it while the walk runs on
// another thread.
class TDBGridExport {
public:
    virtual ~TDBGridExport() = default;

    // Writes the grid into a new file that replaces the one at `path` only when the whole
    // document is written and closed; throws ExportError when the format cannot hold the
    // result (before any file is touched), when the file cannot be created or a write fails,
    // and passes on any failure of the walk. On any failure the old file stays as it was.
    void WriteGridToFile(const QString& path, const ExportLayout& layout,
                         const TableSnapshot& query);
    // Writes the grid through `target` and commits it (standard output, or a file opened
    // for it); throws as WriteGridToFile does, WorkCancelled for a cancel up to the commit.
    void WriteGridTo(SaveStream& target, const ExportLayout& layout, const TableSnapshot& query);
    virtual void WriteGridToStream(std::ostream& stream, const ExportLayout& layout,
                                   const TableSnapshot& query);

    // The walk counts the records written into `control` and stops between records with
    // WorkCancelled when `control` asks it to; the old file then stays as it was.
    void watchWith(WorkControl& control) { control_ = &control; }

    // Cells of the last walk whose text held characters that code page 936 cannot hold and
    // that this format wrote as "?" (text and Excel; HTML and RTF keep every character).
    std::size_t replacedCells() const { return replacedCells_; }

    // The document is read on a terminal (standard output): a format made of lines ends its
    // last line too, so that the prompt starts on a line of its own.
    virtual void endLastLine() {}

protected:
    // Throws ExportError for a result that the format cannot hold.
    virtual void CheckFits(const TableSnapshot&) const {}
    // Throws DbError for a query that is not open: there is nothing to walk.
    static void CheckOpen(const TableSnapshot& query);
    virtual void BeginDocument() {}
    virtual void EndDocument() {}
    virtual void EmitTitleRows(const std::vector<ExportColumn>&) {}
    // Fills the cell parameters of each column for the current record and emits the cell.
    virtual void EmitRecordRow(const std::vector<ExportColumn>& columns);
    virtual void EmitDataCell(const ExportColumn&, const TColCellParams&) {}
    // Works out each footer cell of footer row `row` and emits it.
    virtual void EmitFooterRow(const std::vector<ExportColumn>& columns, int row);
    virtual void EmitFooterCell(std::size_t, int, const QString&, Alignment, QRgb,
                                const ExportFont&, const ExportColumn&) {}

    std::ostream& output() { return *output_; }
    WorkControl& control() { return *control_; }
    const ExportLayout& layout() const { return *layout_; }
    // Texts in code page 936; a line ends with CR LF. Texts are gathered and converted in
    // large pieces; bytes go out after the texts written before them.
    void write(const QString& text);
    void writeBytes(const QByteArray& bytes);
    void writeLine(const QString& text);
    void flush();
    // Throws ExportError with the system's reason once the stream has failed.
    void checkOutput();
    void addReplacedCells(std::size_t cells) { replacedCells_ += cells; }
    const CellText& cellText() const { return cellText_; }
    // Counts a cell whose text goes out in code page 936 alone, "?" for what it lacks.
    void noteCp936Cell(const QString& text) {
        if (!utf8_ && !cp936HoldsAll(text))
            ++replacedCells_;
    }
    // Texts go out in UTF-8 instead of code page 936, every character kept.
    void writeUtf8() { utf8_ = true; }
    // The column's field in the result and the current record's row, for writers that write
    // values rather than texts; none when the result has no such field.
    const ResultColumn* fieldOf(const ExportColumn& column) const;
    std::size_t currentRow() const;
    // The exported fields' values around the current record, and its place among them.
    const RecordBlock& records() const { return *records_; }
    std::size_t recordAt() const { return recordAt_; }
    // A sum footer's total so far, as a number.
    double footerTotal(std::size_t column) const;

private:
    void AccumulateFooters();

    std::ostream* output_ = nullptr;
    QString pending_;
    const ExportLayout* layout_ = nullptr;
    const TableSnapshot* query_ = nullptr;
    std::vector<std::int64_t> FooterAccumulators;
    std::optional<RecordBlock> records_;
    std::size_t recordAt_ = 0;
    std::size_t position_ = 0; // of the record being written, in the row order
    WorkControl unwatched_;
    WorkControl* control_ = &unwatched_;
    CellText cellText_;
    std::size_t replacedCells_ = 0;
    bool utf8_ = false;
};
