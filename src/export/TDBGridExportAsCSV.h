#pragma once

#include "TDBGridExportAsText.h"

// Text with every value in double quotes (inner quotes doubled) and a separator character
// between values; the export command does not offer it.
class TDBGridExportAsCSV : public TDBGridExportAsText {
public:
    explicit TDBGridExportAsCSV(char separator = ';') : separator_(separator) {}

protected:
    void SeparateCell() override;
    QString value(const QString& text) const override;
    bool numbersAsShown() const override { return false; }

private:
    char separator_;
};
