#pragma once

#include "table/GridCopy.h"

#include <QString>

class TableSnapshot;
class WorkControl;

// The copied rows' text for the clipboard, cells as the grid shows them, tab-separated, a line
// per row ended by a line feed, the titles' line first when asked for; a tab or line break
// inside a cell becomes a blank. Made from a snapshot of the table, on any thread; between rows
// it throws WorkCancelled once the control asks it to stop.
QString copiedText(const TableSnapshot& table, const CopiedRows& copied,
                   const WorkControl& control);
