#!/usr/bin/env bash
# Exports both windows' grids of the demo database in every format and reads each file back
# with the programs people open them with, under LANG=C.UTF-8: the text file as GBK, the Excel
# file with python3-xlrd and LibreOffice Calc, the RTF with LibreOffice Writer, the HTML with
# Chromium and LibreOffice Writer, the workbook (.xlsx) with python3-openpyxl and LibreOffice
# Calc, the UTF-8 CSV with Python's csv module and LibreOffice Calc, the PDF with pdftotext;
# every text and number is compared with the grid. One page
# of each is rendered to PNG for a person to look at. Slow (LibreOffice): not part of the tests.
#   bash scripts/check-readers.sh [OUT_DIR] [ITEM_NAME]
set -euo pipefail
cd "$(dirname "$0")/.."

out="${1:-/tmp/stockquery-readers}"
name="${2:-陶瓷深沟球轴承}"
scripts/install-deps.sh
readers=(libreoffice-calc libreoffice-writer python3-xlrd python3-openpyxl chromium poppler-utils)
missing=()
for package in "${readers[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
fi
cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)" --target export_grids make_demo_db

export LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen
rm -rf "$out" && mkdir -p "$out/png"
build/default/tools/make_demo_db "$out/demo.sqlite" >/dev/null
build/default/tools/export_grids "$out/demo.sqlite" "$out" "$name"
status=0
/usr/bin/python3 scripts/readers/check_readers.py "$out" stock journal || status=$?
# A larger worksheet for xlrd: the current stock of every item whose name holds 钢, thousands
# of records (LibreOffice is not waited for over it).
mkdir -p "$out/large"
build/default/tools/export_grids "$out/demo.sqlite" "$out/large" 钢
/usr/bin/python3 scripts/readers/check_readers.py --quick "$out/large" stock || status=$?

# The first page of each as LibreOffice prints it, and the page as Chromium shows it.
for grid in stock journal; do
    for format in xls rtf xlsx; do
        soffice --headless --convert-to pdf --outdir "$out/pdf/$format" "$out/$grid.$format" \
            >/dev/null 2>&1
        pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$out/pdf/$format/$grid.pdf" \
            "$out/png/$grid.$format"
    done
    pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$out/$grid.pdf" "$out/png/$grid.pdf"
    chromium --headless --no-sandbox --disable-gpu --window-size=1600,900 \
        --screenshot="$out/png/$grid.html.png" "file://$out/$grid.html" 2>/dev/null
done
echo "pages rendered in $out/png"
exit $status
