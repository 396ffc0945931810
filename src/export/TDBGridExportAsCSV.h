#pragma once

#include "TDBGridExportAsText.h"

// Text with every value in double quotes (inner quotes doubled) and a separator character
// between values, records only: an importer would take a sums line for one more record.
class TDBGridExportAsCSV : public TDBGridExportAsText {
public:
    explicit TDBGridExportAsCSV(char separator = ';') : separator_(separator) {}

protected:
    void SeparateCell() override;
    void EmitFooterRow(const std::vector<ExportColumn>&, int) override {}
    QString value(const QString& text) const override;
    bool numbersAsShown() const override { return false; }

private:
    char separator_;
};
