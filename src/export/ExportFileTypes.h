#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TDBGridExport;

using WriterFactory = std::function<std::unique_ptr<TDBGridExport>()>;

// Every format a grid can be written in: its name on the export command's line, its entry in
// the save dialog's file types (none for the code page 936 CSV, which the dialog does not
// offer), the suffix that a name typed without one gets, and its writer. The dialog's entries
// come first, in the dialog's order.
struct ExportFileType {
    std::string name;
    QString filter;
    QString suffix;
    WriterFactory writer;
};

const std::vector<ExportFileType>& exportFileTypes();
// The type of a command-line name; none for an unknown name.
const ExportFileType* exportFileTypeNamed(std::string_view name);
