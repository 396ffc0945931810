#pragma once

class QWidget;
class ResultGrid;
class WindowWork;

// A window's "打印" button and Ctrl+P. The rows as the grid shows them, or only the picked
// rows when the user says so, are made into pages on a worker as `work` (the footer row added
// up there); a result of more than kPagesWithoutAsking pages asks first; the preview shows the
// first page at once; once the print dialog is accepted the pages go to the printer on a
// worker, "正在打印" and the page count in the status bar, Escape stopping between pages.
void printGridCommand(WindowWork& work, QWidget* window, ResultGrid& grid);

constexpr int kPagesWithoutAsking = 300;
