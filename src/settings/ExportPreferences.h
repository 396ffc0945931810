#pragma once

#include <string>

// Where the save dialog of 输出 opens and which file type it offers first: the folder and the
// file type (its name on the export command's line) of the last export, stored beside the
// connection under "\SOFTWARE\QARVO\TOLMA\Export" as "folder" and "filetype".
struct ExportPreferences {
    std::string folder;
    std::string fileType;
};

// Empty values when none are stored or the store cannot be read: the dialog then opens as on
// the first run.
ExportPreferences readExportPreferences();
// A store that cannot be written loses the preference and nothing else, so no error is
// reported.
void writeExportPreferences(const ExportPreferences& preferences);
