#!/usr/bin/env python3
"""Every tender given goes through a real spreadsheet program: tarvo-cli
exports the LV as an XLSX, prices are typed into the workbook's cells
(numbers and formulas), LibreOffice opens and saves it as XLSX, and
tarvo-cli takes the prices back.

Checked for each tender:
- LibreOffice opens the exported workbook and its CSV export holds every row;
- the offer made from the re-saved workbook equals, byte for byte up to its
  time stamp, the offer made from a price list of the same values (the
  values typed as in the grid);
- LibreOffice's own calculation of the workbook's formulas gives every
  position amount, area sum and the net total exactly as recomputed here in
  decimals, and as the program computed them (the workbook exported from the
  offer, where the program reads that offer back).

Usage: libreoffice_round_trip.py TARVO_CLI WORK_DIR TENDER...
"""

import csv
import random
import re
import shutil
import subprocess
import sys
from decimal import ROUND_HALF_UP, Decimal
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from workbook_edit import Q, Workbook  # noqa: E402

CENT = Decimal("0.01")
failures = []


def money(value):
    return value.quantize(CENT, rounding=ROUND_HALF_UP)


def fail(tender, text):
    failures.append("%s: %s" % (tender.name, text))


class Office:
    """LibreOffice headless with a profile of its own, so that runs beside
    each other (or a user's open LibreOffice) do not share one."""

    def __init__(self, work):
        self.profile = (work / "lo-profile").resolve()

    def convert(self, source, target_format, outdir):
        outdir.mkdir(parents=True, exist_ok=True)
        result = subprocess.run(
            ["soffice", "-env:UserInstallation=" + self.profile.as_uri(), "--headless",
             "--convert-to", target_format, "--outdir", str(outdir), str(source)],
            capture_output=True, timeout=600)
        extension = target_format.split(":")[0]
        converted = outdir / (source.stem + "." + extension)
        if result.returncode != 0 or not converted.exists():
            raise RuntimeError("LibreOffice could not convert %s: %s" % (source, result.stderr))
        return converted

    def csv_rows(self, source, outdir):
        # ";" as separator, UTF-8, raw values (not as shown), all of the sheet.
        converted = self.convert(
            source, 'csv:Text - txt - csv (StarCalc):59,34,76,1,,0,false,true,false', outdir)
        with open(converted, encoding="utf-8-sig", newline="") as f:
            return list(csv.reader(f, delimiter=";"))


def run(args, check=True):
    result = subprocess.run(args, capture_output=True, env={"LC_ALL": "C", "PATH": "/usr/bin:/bin"})
    if check and result.returncode != 0:
        raise RuntimeError("%s failed (%d): %s" % (args, result.returncode, result.stderr.decode()))
    return result


def german(value):
    return str(value).replace(".", ",")


def fill(workbook_path, filled_path, seed):
    """Types a price (a number or a formula) into each position, a discount
    into every fifth; returns the price list of the same values."""
    wb = Workbook(workbook_path)
    key_row, keys = wb.key_row()
    rows = wb.rows()
    rng = random.Random(seed)
    lines = []
    count = 0
    for number in sorted(rows):
        if number <= key_row + 1:
            continue
        _, cells = rows[number]
        if not wb.value(cells.get(keys["TYP"])):
            continue
        count += 1
        oz = wb.value(cells.get(keys["OZ"])).strip()
        ep = cells.get(keys["EP"])
        breakdown = ep is not None and ep.find(Q + "f") is not None
        field = "EPANTEIL1" if breakdown else "EP"
        price = Decimal(rng.randint(1, 9999999)) / 1000
        if count % 2:
            wb.set(number, keys[field], "n", str(price))
        else:
            wb.set(number, keys[field], "f", "%s+0" % price)
        lines.append("%s;%s;%s" % (oz, field, german(price)))
        if count % 5 == 0:
            wb.set(number, keys["NACHLASSPROZ"], "n", "2.5")
            lines.append("%s;NACHLASSPROZ;2,5" % oz)
    wb.drop_cached_results()
    wb.save(filled_path)
    return lines


def masked(path):
    data = path.read_bytes()
    data = re.sub(rb"\[(DATUM|UHRZEIT)\][^\[]*\[end\]", b"", data)
    data = re.sub(rb"<(Date|Time)>[^<]*</(Date|Time)>", b"", data)
    # GAEB 90: the record 00 carries the date of writing.
    return data


def decimal(text):
    text = text.strip()
    return Decimal(text) if text else Decimal(0)


def check_values(tender, table):
    """The spreadsheet's results against the decimals recomputed here."""
    keys = next(r for r in table if r and r[0] == "KENNUNG")
    col = {k: i for i, k in enumerate(keys)}
    start = table.index(keys) + 2
    data = [r for r in table[start:] if r and r[0].strip()]
    sums = {}
    for index in range(len(data) - 1, -1, -1):
        row = data[index]
        depth = int(row[col["EBENE"]])
        if row[col["TYP"]]:
            ep = decimal(row[col["EP"]])
            gb = money(ep * decimal(row[col["MENGE"]]) *
                       (1 - decimal(row[col["NACHLASSPROZ"]]) / 100))
            share = gb if row[col["TYP"]] in ("N", "B") else Decimal(0)
        else:
            gb = sum(sums.pop(depth + 1, []), Decimal(0))
            absolute = decimal(row[col["NACHLASSABS"]])
            percent = decimal(row[col["NACHLASSPROZ"]])
            share = gb - absolute if absolute else gb - money(gb * percent / 100)
            if money(decimal(row[col["SUMMENACHNL"]])) != share:
                fail(tender, "area %s after discount %s, recomputed %s"
                     % (row[0], row[col["SUMMENACHNL"]], share))
        if money(decimal(row[col["GB"]])) != gb:
            fail(tender, "row %s: GB %s, recomputed %s" % (row[0], row[col["GB"]], gb))
        sums.setdefault(depth, []).insert(0, share)
        # A deeper level that did not end at an area belongs to none.
        for deeper in [d for d in sums if d > depth]:
            sums.pop(deeper)
    total = sum(sums.get(1, []), Decimal(0))
    net = next(r for r in table if len(r) > col["KURZTEXT"] and r[col["KURZTEXT"]] == "Summe netto")
    if money(decimal(net[col["GB"]])) != total:
        fail(tender, "net total %s, recomputed %s" % (net[col["GB"]], total))
    return {r[0]: (r[col["GB"]], r[col["SUMMENACHNL"]]) for r in data}


def program_values(cli, offer, work):
    """GB and area sums as the program computed them, from a workbook
    exported from the offer; None when the offer cannot be read back alone."""
    exported = work / "offer.xlsx"
    if run([cli, "sheet", "export", str(offer), str(exported)], check=False).returncode != 0:
        return None
    wb = Workbook(exported)
    key_row, keys = wb.key_row()
    values = {}
    for number, (_, cells) in wb.rows().items():
        identity = wb.value(cells.get(keys["KENNUNG"]))
        if number > key_row + 1 and identity:
            values[identity] = (wb.value(cells.get(keys["GB"])),
                                wb.value(cells.get(keys["SUMMENACHNL"])))
    return values


def check_tender(cli, office, tender, work):
    blank = work / "blank.xlsx"
    run([cli, "sheet", "export", str(tender), str(blank)])
    rows = office.csv_rows(blank, work / "blank-csv")
    if not any(r and r[0] == "KENNUNG" for r in rows):
        fail(tender, "LibreOffice's CSV of the export has no key row")
    lines = fill(blank, work / "filled.xlsx", tender.name)
    resaved = office.convert(work / "filled.xlsx", "xlsx", work / "resaved")
    extension = ".X84" if tender.suffix.upper() == ".X83" else ".D84"
    from_sheet, from_list = work / ("sheet" + extension), work / ("list" + extension)
    run([cli, "price", str(tender), str(resaved), str(from_sheet)])
    (work / "prices.csv").write_text("\n".join(lines) + "\n", encoding="utf-8")
    run([cli, "price", str(tender), str(work / "prices.csv"), str(from_list)])
    if masked(from_sheet) != masked(from_list):
        fail(tender, "the offer from the workbook differs from the one from the price list")
    computed = check_values(tender, office.csv_rows(resaved, work / "resaved-csv"))
    program = program_values(cli, from_sheet, work)
    if program is not None:
        for identity, (gb, after) in program.items():
            got = computed.get(identity)
            if got is None or any(money(decimal(a)) != money(decimal(b))
                                  for a, b in zip(got, (gb, after))):
                fail(tender, "row %s: LibreOffice %s, program %s" % (identity, got, (gb, after)))
    print("%s: %d prices, %s" % (tender.name, len(lines),
                                 "compared with the program" if program else "recomputed"))


def main():
    cli, work = sys.argv[1], Path(sys.argv[2])
    if not shutil.which("soffice"):
        print("soffice not found (install libreoffice-calc-nogui)")
        return 1
    shutil.rmtree(work, ignore_errors=True)
    office = Office(work)
    for name in sys.argv[3:]:
        tender = Path(name)
        tender_work = work / tender.name
        tender_work.mkdir(parents=True)
        try:
            check_tender(cli, office, tender, tender_work)
        except Exception as e:  # noqa: BLE001 - every tender is reported
            fail(tender, str(e))
    for f in failures:
        print(f)
    print("%d passed, %d failed" % (len(sys.argv) - 3 - len({f.split(":")[0] for f in failures}),
                                    len({f.split(":")[0] for f in failures})))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
