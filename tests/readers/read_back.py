#!/usr/bin/python3
"""Reads an exported file back as the programs people use read it, and prints what they see
as JSON, for the export tests to compare with the grid:
  read_back.py xlsx FILE   openpyxl: the sheet's name, frozen panes, autofilter, column
                           widths, and each cell's type, value, bold flag, fill and format
  read_back.py csv FILE    Python's csv module: whether a UTF-8 byte-order mark leads, and the
                           rows"""
import csv
import datetime
import json
import sys


def xlsx(path):
    import openpyxl
    from openpyxl.utils.escape import unescape
    book = openpyxl.load_workbook(path)
    sheet = book.worksheets[0]
    rows = []
    for row in sheet.iter_rows():
        cells = []
        for cell in row:
            value = cell.value
            kind = "empty" if value is None else "text" if isinstance(value, str) else \
                "date" if isinstance(value, datetime.datetime) else "number"
            if kind == "date":
                value = value.isoformat()
            elif kind == "text":
                # Excel and LibreOffice read _xHHHH_ as the character it stands for (CR in
                # a text is stored so); openpyxl leaves it to its caller.
                value = unescape(value)
            fill = cell.fill.fgColor.rgb if cell.fill.fill_type == "solid" else None
            cells.append({"type": kind, "value": value, "bold": bool(cell.font.b),
                          "fill": fill[-6:] if isinstance(fill, str) else None,
                          "format": cell.number_format})
        rows.append(cells)
    widths = [sheet.column_dimensions[openpyxl.utils.get_column_letter(i + 1)].width
              for i in range(sheet.max_column)]
    return {"sheets": book.sheetnames, "freeze": sheet.freeze_panes,
            "filter": sheet.auto_filter.ref, "widths": widths, "rows": rows}


def csv_rows(path):
    with open(path, "rb") as raw:
        bom = raw.read(3) == b"\xef\xbb\xbf"
    with open(path, newline="", encoding="utf-8-sig") as text:
        return {"bom": bom, "rows": list(csv.reader(text))}


if __name__ == "__main__":
    kind, path = sys.argv[1], sys.argv[2]
    print(json.dumps(xlsx(path) if kind == "xlsx" else csv_rows(path), ensure_ascii=False))
