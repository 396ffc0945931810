#!/usr/bin/env python3
"""Reads the exported files back with the programs people open them with and compares every
text and number with what the grid showed (NAME.expected.tsv, written by export_grids).

    check_readers.py [--quick] FOLDER NAME...

Readers: the text file decoded as GBK; the Excel file with xlrd (no encoding named) and with
LibreOffice Calc (to CSV); the RTF with LibreOffice Writer (to text); the HTML with Chromium
(its DOM) and with LibreOffice Writer (to text); the workbook (.xlsx) with openpyxl and with
LibreOffice Calc; the UTF-8 CSV with Python's csv module and with LibreOffice Calc; the PDF
with pdftotext (every record and the footer row, the first band's cells where the columns go
onto bands across). Characters that GBK cannot hold are "?" in the text and Excel files and
kept in all others. Prints one line per file and reader; exits 1
when any cell differs. --quick reads with the text decoder and xlrd alone, for files too large
to wait for LibreOffice."""

import csv
import datetime
import html.parser
import os
import re
import subprocess
import sys
import tempfile

import xlrd


def expected_rows(folder, name):
    with open(os.path.join(folder, name + ".expected.tsv"), encoding="utf-8") as f:
        return [line.rstrip("\n").split("\t") for line in f]


def lossy(text):
    """The text as a file in code page 936 holds it: '?' for what GBK lacks."""
    return "".join(c if _fits(c) else "?" for c in text)


def _fits(c):
    try:
        c.encode("gbk")
        return True
    except UnicodeEncodeError:
        return False


def same(read, shown):
    """A cell read back equals the grid's text, or its number when it is one."""
    read = read.replace("\xa0", " ").strip() if read is not None else ""
    shown = shown.strip()
    if read == shown:
        return True
    try:
        a, b = float(read), float(shown)
    except ValueError:
        return False
    return abs(a - b) <= 1e-9 * max(1.0, abs(b))


def compare(rows, expected):
    """Number of differing cells, and the first few differences."""
    wrong, examples = 0, []
    if len(rows) != len(expected):
        return 1, [f"{len(rows)} rows read, {len(expected)} shown"]
    for r, (got, want) in enumerate(zip(rows, expected)):
        for c in range(max(len(got), len(want))):
            g = got[c] if c < len(got) else ""
            w = want[c] if c < len(want) else ""
            if not same(g, w):
                wrong += 1
                if len(examples) < 3:
                    examples.append(f"row {r} column {c}: read {g!r}, shown {w!r}")
    return wrong, examples


def soffice(path, target, outdir):
    subprocess.run(["soffice", "--headless", "--convert-to", target, "--outdir", outdir, path],
                   check=True, capture_output=True, timeout=600)


def read_text(path):
    with open(path, encoding="gbk", newline="") as f:
        return [line.split("\t") for line in f.read().split("\r\n")]


def read_xlrd(path):
    sheet = xlrd.open_workbook(path).sheet_by_index(0)
    rows = []
    for r in range(sheet.nrows):
        row = []
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            row.append(repr(cell.value) if cell.ctype == xlrd.XL_CELL_NUMBER else str(cell.value))
        rows.append(row)
    return rows


def read_calc(path, outdir, infilter=None, as_shown=False):
    """Calc's cells written out tab-separated: its raw values, or as its formats show them."""
    arguments = ["soffice", "--headless"]
    if infilter:
        arguments.append("--infilter=" + infilter)
    shown = "true" if as_shown else "false"
    arguments += ["--convert-to", "csv:Text - txt - csv (StarCalc):9,34,76,1,,0,false,true,"
                  f"{shown},false", "--outdir", outdir, path]
    subprocess.run(arguments, check=True, capture_output=True, timeout=600)
    base = os.path.splitext(os.path.basename(path))[0]
    with open(os.path.join(outdir, base + ".csv"), encoding="utf-8") as f:
        return [line.rstrip("\n").split("\t") for line in f]


def read_calc_csv(path, outdir):
    """The UTF-8 CSV opened in Calc as comma-separated UTF-8, dates left as written."""
    return read_calc(path, outdir, "CSV:44,34,76,1,,0,false,false")


def read_openpyxl(path):
    import openpyxl
    from openpyxl.utils.escape import unescape
    sheet = openpyxl.load_workbook(path, read_only=True).worksheets[0]
    rows = []
    for row in sheet.iter_rows(values_only=True):
        cells = []
        for value in row:
            if value is None:
                cells.append("")
            elif isinstance(value, datetime.datetime):
                text = f"{value.year}/{value.month}/{value.day}"
                if value.time() != datetime.time():
                    text += value.strftime(" %H:%M:%S")
                cells.append(text)
            elif isinstance(value, str):
                cells.append(unescape(value))
            else:
                cells.append(repr(value))
        rows.append(cells)
    return rows


def read_csv(path):
    with open(path, newline="", encoding="utf-8-sig") as f:
        return list(csv.reader(f))


def read_writer_cells(path, outdir, columns):
    """Writer's text of a document with one table: a line per cell."""
    soffice(path, "txt:Text (encoded):UTF8", outdir)
    base = os.path.splitext(os.path.basename(path))[0]
    with open(os.path.join(outdir, base + ".txt"), encoding="utf-8-sig") as f:
        cells = f.read().split("\n")
    while cells and cells[-1] == "":
        cells.pop()
    # An empty last cell leaves no line: pad to whole rows.
    cells += [""] * (-len(cells) % columns)
    return [cells[i:i + columns] for i in range(0, len(cells), columns)]


class _Cells(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.rows, self._cell = [], None

    def handle_starttag(self, tag, attrs):
        if tag == "tr":
            self.rows.append([])
        elif tag == "td":
            self._cell = ""

    def handle_endtag(self, tag):
        if tag == "td" and self._cell is not None:
            self.rows[-1].append(self._cell)
            self._cell = None

    def handle_data(self, data):
        if self._cell is not None:
            self._cell += data


def read_chromium(path):
    dom = subprocess.run(["chromium", "--headless", "--no-sandbox", "--disable-gpu",
                          "--dump-dom", "file://" + os.path.abspath(path)],
                         check=True, capture_output=True, timeout=600).stdout.decode("utf-8")
    parser = _Cells()
    parser.feed(dom)
    return [row for row in parser.rows if row]


def read_pdf(path, shown):
    """pdftotext's text of the pages as laid out, blanks dropped, read against the grid's
    records and footer row: a row reads as shown when its cells stand side by side in that
    order after the row before. Where the columns go onto bands across, the cells of the first
    band (as many leading cells as the first record shows side by side, up to its last value) are
    what is read.
    Returns the rows read and the rows shown, both cut to those cells."""
    text = re.sub(r"\s", "", subprocess.run(["pdftotext", "-layout", path, "-"], check=True,
                                            capture_output=True, timeout=600).stdout.decode())
    squeeze = lambda cells: re.sub(r"\s", "", "".join(cells))
    rows = shown[1:]  # the titles wrap inside their boxes
    # Up to the first record's last cell with a value: empty cells read as nothing, and would
    # stretch the band past the page's edge for the records that have values there.
    band = max(k for k in range(1, len(rows[0]) + 1)
               if rows[0][k - 1].strip() and squeeze(rows[0][:k]) in text)
    read, at = [], 0
    for row in rows:
        found = text.find(squeeze(row[:band]), at)
        read.append(row[:band] if found >= 0 else ["(not found)"] * band)
        at = max(at, found)
    return read, [row[:band] for row in rows]


def main():
    arguments = sys.argv[1:]
    quick = arguments[:1] == ["--quick"]
    folder, names = arguments[quick], arguments[quick + 1:]
    failed = False
    with tempfile.TemporaryDirectory() as outdir:
        for name in names:
            shown = expected_rows(folder, name)
            as_gbk = [[lossy(cell) for cell in row] for row in shown]
            records = shown[:-1]  # CSV holds no sums line
            columns = len(shown[0])
            base = os.path.join(folder, name)
            checks = [
                ("txt", "GBK text", lambda: read_text(base + ".txt"), as_gbk),
                ("xls", "xlrd", lambda: read_xlrd(base + ".xls"), as_gbk),
                ("xls", "LibreOffice Calc", lambda: read_calc(base + ".xls", outdir), as_gbk),
                ("rtf", "LibreOffice Writer",
                 lambda: read_writer_cells(base + ".rtf", outdir, columns), shown),
                ("html", "Chromium", lambda: read_chromium(base + ".html"), shown),
                ("html", "LibreOffice Writer",
                 lambda: read_writer_cells(base + ".html", outdir, columns), shown),
                ("xlsx", "openpyxl", lambda: read_openpyxl(base + ".xlsx"), shown),
                ("xlsx", "LibreOffice Calc",
                 lambda: read_calc(base + ".xlsx", outdir, as_shown=True), shown),
                ("csv", "Python csv", lambda: read_csv(base + ".csv"), records),
                ("csv", "LibreOffice Calc", lambda: read_calc_csv(base + ".csv", outdir), records),
            ]
            pdf = {}
            checks.append(("pdf", "pdftotext",
                           lambda: pdf.setdefault("read", read_pdf(base + ".pdf", shown))[0],
                           None))
            if quick:
                checks = [check for check in checks if check[1] in ("GBK text", "xlrd",
                                                                    "openpyxl", "Python csv")]
            for suffix, reader, read, want in checks:
                try:
                    got = read()
                    if want is None:  # the PDF: the cells it was read for
                        want = pdf["read"][1]
                    wrong, examples = compare(got, want)
                except Exception as error:  # a reader that cannot open the file fails it
                    wrong, examples = 1, [f"{type(error).__name__}: {error}"]
                failed |= wrong > 0
                cells = sum(len(row) for row in want) if want else 0
                state = "ok" if wrong == 0 else f"{wrong} cells differ"
                print(f"{name}.{suffix:<4} {reader:<18} {len(want):>6} rows, {cells:>7} cells: "
                      f"{state}")
                for example in examples:
                    print("    " + example)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
