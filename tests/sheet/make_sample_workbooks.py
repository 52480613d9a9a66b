#!/usr/bin/env python3
"""Makes the sample workbooks of tests/data/sheet once (they are stored, so
the tests do not depend on the spreadsheet program's version):

  los01-typed.xlsx               exported from real/LV_Los01.P83, values typed
                                 as numbers, inline texts and formulas with
                                 their results (tests/sheet/workbook_edit.py)
  los01-typed-libreoffice.xlsx   the same opened and saved by LibreOffice
                                 (shared strings, LibreOffice's own parts)
  los01-sorted-libreoffice.xlsx  the typed rows in reverse order, row 030040
                                 deleted, formula results dropped; then
                                 opened (computed) and saved by LibreOffice
  los01.xls                      the export saved by LibreOffice as .xls

Usage: make_sample_workbooks.py TARVO_CLI OUT_DIR
"""

import subprocess
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from workbook_edit import Q, Workbook, column_index, column_name  # noqa: E402

DATA = Path(__file__).parent.parent / "data"


def soffice(source, target_format, outdir, profile):
    subprocess.run(["soffice", "-env:UserInstallation=" + profile.as_uri(), "--headless",
                    "--convert-to", target_format, "--outdir", str(outdir), str(source)],
                   check=True, capture_output=True)


def typed(export, target):
    wb = Workbook(export)
    key_row, keys = wb.key_row()
    rows = wb.rows()
    at = {wb.value(c.get(keys["OZ"])): n for n, (_, c) in rows.items() if n > key_row + 1}
    ep, nl = keys["EP"], keys["NACHLASSPROZ"]
    wb.set(at["010010"], ep, "n", "1250.5")
    wb.set(at["010020"], ep, "s", "85,25")
    wb.set(at["010030"], ep, "f", "2*200", "400")
    wb.set(at["020010"], ep, "n", "3999.9999")
    wb.set(at["020020"], ep, "s", "12.5")
    wb.set(at["020020"], nl, "n", "3")
    wb.set(at["020030"], ep, "f", "ROUND(1234.56789,2)", "1234.57")
    wb.set(at["02"], keys["NACHLASSABS"], "n", "100")
    wb.save(target)


def sorted_backwards(source, target):
    wb = Workbook(source)
    key_row, keys = wb.key_row()
    data = wb.root.find(Q + "sheetData")

    def identity(row):
        return next((wb.value(c) for c in row.findall(Q + "c")
                     if column_index(c.get("r")) == keys["KENNUNG"]), "")

    body = [r for r in data.findall(Q + "row") if int(r.get("r")) > key_row + 1 and identity(r)]
    numbers = [int(r.get("r")) for r in body]
    for r in body:
        data.remove(r)
    kept = [r for r in body if identity(r) != "030040"]
    for number, row in zip(numbers, reversed(kept)):
        row.set("r", str(number))
        for c in row.findall(Q + "c"):
            c.set("r", column_name(column_index(c.get("r"))) + str(number))
    rows = data.findall(Q + "row") + list(reversed(kept))
    for r in data.findall(Q + "row"):
        data.remove(r)
    for r in sorted(rows, key=lambda r: int(r.get("r"))):
        data.append(r)
    wb.drop_cached_results()
    wb.save(target)


def main():
    cli, out = sys.argv[1], Path(sys.argv[2])
    with tempfile.TemporaryDirectory() as scratch:
        work = Path(scratch)
        profile = work / "profile"
        export = work / "los01.xlsx"
        subprocess.run([cli, "sheet", "export", str(DATA / "real" / "LV_Los01.P83"), str(export)],
                       check=True)
        typed(export, out / "los01-typed.xlsx")
        (work / "lo").mkdir()
        soffice(out / "los01-typed.xlsx", "xlsx", work / "lo", profile)
        (work / "lo" / "los01-typed.xlsx").rename(out / "los01-typed-libreoffice.xlsx")
        sorted_backwards(out / "los01-typed.xlsx", work / "los01-sorted.xlsx")
        soffice(work / "los01-sorted.xlsx", "xlsx", work / "lo", profile)
        (work / "lo" / "los01-sorted.xlsx").rename(out / "los01-sorted-libreoffice.xlsx")
        soffice(export, "xls", work / "lo", profile)
        (work / "lo" / "los01.xls").rename(out / "los01.xls")


if __name__ == "__main__":
    main()
