#!/usr/bin/env python3
"""Prices every tender given with generated prices through tarvo-cli and
recomputes every amount of the offer from the written D84 alone, as a
client's program would, in exact decimals: each position amount, area sum,
discount, net, the VAT amount and the gross sum. Demands equality to the cent
with the D84, with "tarvo-cli info --json" and with the print text (its
table and its summary of areas).

Usage: recompute_offers.py TARVO_CLI WORK_DIR TENDER...
Exit status 0 when every figure agrees, 1 otherwise (each difference printed).
"""

import json
import random
import re
import subprocess
import sys
from decimal import ROUND_HALF_UP, Decimal
from pathlib import Path

CENT = Decimal("0.01")


def money(value):
    """Rounded to the cent, halves away from zero."""
    return value.quantize(CENT, rounding=ROUND_HALF_UP)


class Element:
    def __init__(self, name):
        self.name = name.upper()
        self.fields = {}
        self.children = []

    def text(self, key):
        return self.fields.get(key.upper(), "")

    def number(self, key):
        """A number field as the file holds it; missing is 0."""
        text = self.text(key).strip()
        return Decimal(text.replace(",", ".")) if text else Decimal(0)

    def each(self, name):
        return [c for c in self.children if c.name == name]


def read_gaeb(data):
    """The element tree of a GAEB 2000 file: lines, "#begin[", "#end[",
    "[KEY]value[end]" with values running over lines, comment lines."""
    lines = data.decode("cp1252").split("\n")
    lines = [line[:-1] if line.endswith("\r") else line for line in lines]
    root = Element("")
    stack = [root]
    i = 0
    while i < len(lines):
        line = lines[i]
        i += 1
        if "##" in line or "]" not in line:
            continue
        close = line.index("]")
        if "#begin[" in line:
            element = Element(line[line.index("#begin[") + 7:close].strip())
            stack[-1].children.append(element)
            stack.append(element)
        elif "#end[" in line:
            if len(stack) > 1:
                stack.pop()
        else:
            bracket = line.find("[")
            key = line[bracket + 1:close].strip()
            value = line[close + 1:]
            while "[end]" not in value and i < len(lines):
                part = lines[i]
                i += 1
                if part[:bracket].strip(" \t") == "":
                    part = part[bracket:]
                value = value.rstrip() + "\r\n" + part
            value = value[:value.find("[end]")] if "[end]" in value else value
            stack[-1].fields[key.upper()] = value.strip()
    return root


def find(element, *path):
    for name in path:
        matches = element.each(name)
        if not matches:
            return None
        element = matches[0]
    return element


def position_type(position):
    kind = "N"
    lfd = position.text("ZZLFDNR").strip()
    if lfd.lstrip("-").isdigit() and int(lfd) > 0:
        kind = "A"
    if position.text("BEDARF") == "M":
        kind = "B"
    if position.text("BEDARF") == "E":
        kind = "AB"
    return kind


class Offer:
    """The amounts of an offer, recomputed from its own fields."""

    def __init__(self, lv, failures):
        self.failures = failures
        self.positions = []  # (element, expected GB) in the order of the walk
        self.areas = []  # (element, sum, discount amount, net), each area before its own
        self.printed_areas = []  # the same, each area after everything below it
        self.sum = self.level(lv, None)
        info = find(lv, "LVINFO")
        self.rate = info.number("UST")
        self.vat = money(self.sum * self.rate / 100)
        self.gross = self.sum + self.vat
        self.expect(info, "SUMME", self.sum)
        self.expect(info, "SUMMEBRUTTO", self.gross)

    def expect(self, element, key, value):
        if element.number(key) != value:
            self.failures.append(
                f"{element.name} {element.text('OZ')}: {key} {element.text(key)!r} in der "
                f"Datei, nachgerechnet {value}")

    def level(self, element, area):
        """Sum of an LV or area: its areas' nets and its counting positions."""
        total = Decimal(0)
        for sub in element.each("LVBEREICH"):
            slot = len(self.areas)
            self.areas.append(None)
            amount = self.level(sub, sub)
            percent, absolute = sub.number("NACHLASSPROZ"), sub.number("NACHLASSABS")
            discount = absolute if absolute != 0 else money(amount * percent / 100)
            net = amount - discount
            self.areas[slot] = (sub, amount, discount, net)
            self.printed_areas.append(self.areas[slot])
            self.expect(sub, "SUMME", amount)
            self.expect(sub, "SUMMENACHNL", net)
            total += net
        for position in element.each("POSITION"):
            for key, decimals in (("EP", 3), ("MENGE", 3), ("NACHLASSPROZ", 2), ("GB", 2)):
                if -position.number(key).as_tuple().exponent > decimals:
                    self.failures.append(f"POSITION {position.text('OZ')}: {key} "
                                         f"{position.text(key)!r} hat mehr als {decimals} "
                                         f"Nachkommastellen")
            amount = money(position.number("EP") * position.number("MENGE") *
                           (1 - position.number("NACHLASSPROZ") / 100))
            self.positions.append((position, amount))
            self.expect(position, "GB", amount)
            if position.text("_TARVO_POSTYP") != position_type(position):
                self.failures.append(f"POSITION {position.text('OZ')}: Typ "
                                     f"{position.text('_TARVO_POSTYP')!r}, erwartet "
                                     f"{position_type(position)!r}")
            if position_type(position) in ("N", "B"):
                total += amount
        return total


def generated_tender(source, rng):
    """The tender with three-decimal quantities and some contingency and
    alternative positions, as text."""
    text = source.read_bytes().decode("cp1252")
    line_end = "\r\n" if "\r\n" in text else "\n"
    count = [0]

    def quantity(match):
        count[0] += 1
        value = f"{rng.randint(0, 5000)},{rng.randint(1, 999):03d}"
        extra = ""
        if count[0] % 11 == 0:
            extra = line_end + "[BEDARF]M[end]"
        elif count[0] % 7 == 0:
            extra = line_end + "[BEDARF]E[end]"
        return f"[Menge]{value}[end]{extra}"

    return re.sub(r"(?i)\[menge\][^\[\r\n]*\[end\]", quantity, text)


def price_list(tree, rng):
    """Unit prices with three decimals, some position discounts, percentage
    and absolute discounts of areas and a VAT rate, as price list lines."""
    lines = []
    lv = find(tree, "GAEB", "VERGABE", "LV")

    def walk(element):
        for area in element.each("LVBEREICH"):
            walk(area)
            oz = area.text("OZ").strip()
            choice = rng.randint(0, 2)
            if choice == 0:
                lines.append(f"{oz};NACHLASSPROZ;{rng.randint(1, 2000) / 100:.2f}".replace(".", ","))
            elif choice == 1:
                lines.append(f"{oz};NACHLASSABS;{rng.randint(1, 99999) / 100:.2f}".replace(".", ","))
        for position in element.each("POSITION"):
            oz = position.text("OZ").strip()
            lines.append(f"{oz};EP;{rng.randint(0, 9999)},{rng.randint(1, 999):03d}")
            if rng.randint(0, 4) == 0:
                lines.append(f"{oz};NACHLASSPROZ;{rng.randint(1, 3000) / 100:.2f}".replace(".", ","))

    walk(lv)
    lines.append(f"LV;UST;{rng.choice(['19', '7', '16', '19,5', '7,25'])}")
    return "\n".join(lines) + "\n"


def german(text):
    return Decimal(text.replace(".", "").replace(",", "."))


def check_info(offer, info, failures):
    def same(what, shown, value):
        if money(Decimal(repr(shown))) != value:
            failures.append(f"info --json: {what} {shown}, nachgerechnet {value}")

    if len(info["positions"]) != len(offer.positions) or len(info["areas"]) != len(offer.areas):
        failures.append("info --json: andere Zahl von Positionen oder LV-Bereichen")
        return
    for shown, (position, amount) in zip(info["positions"], offer.positions):
        same(f"GB {shown['oz']}", shown["gb"], amount)
        if Decimal(repr(shown["ep"])) != position.number("EP"):
            failures.append(f"info --json: EP {shown['oz']} {shown['ep']}, Datei "
                            f"{position.text('EP')}")
    for shown, (area, amount, _, net) in zip(info["areas"], offer.areas):
        same(f"SUMME {shown['oz']}", shown["summe"], amount)
        same(f"SUMMENACHNL {shown['oz']}", shown["summenachnl"], net)
    same("SUMME", info["lv"]["summe"], offer.sum)
    same("UST", info["lv"]["ust"], offer.rate)
    same("SUMMEBRUTTO", info["lv"]["summebrutto"], offer.gross)


AMOUNT = r"-?[\d.]+,\d\d"


def check_print(offer, text, failures):
    lines = [line for line in text.split("\n") if not re.fullmatch(r"\s*Seite \d+", line)]
    position_lines = [
        m for m in (re.fullmatch(r"\s*(-?[\d.]+,\d{3})\s*.*?\s(-?[\d.]+,\d{3})\s+"
                                 r"(?:(-?[\d.]+,\d\d)%\s+)?(" + AMOUNT + r")", line)
                    for line in lines) if m]
    if len(position_lines) != len(offer.positions):
        failures.append(f"Druck: {len(position_lines)} Betragszeilen, {len(offer.positions)} "
                        f"Positionen")
    else:
        for m, (position, amount) in zip(position_lines, offer.positions):
            oz = position.text("OZ")
            if german(m.group(4)) != amount:
                failures.append(f"Druck: GB {oz} {m.group(4)}, nachgerechnet {amount}")
            if german(m.group(2)) != position.number("EP"):
                failures.append(f"Druck: EP {oz} {m.group(2)}, Datei {position.text('EP')}")
    sums = {}
    for line in lines:
        m = re.fullmatch(r"\s*Summe (\S+)\s+(" + AMOUNT + ")", line)
        if m:
            sums.setdefault(m.group(1), []).append(german(m.group(2)))
    nets = [german(m.group(1)) for m in (re.fullmatch(r"\s*Summe nach Nachlass\s+(" + AMOUNT +
                                                      ")", line) for line in lines) if m]
    discounts = [german(m.group(1)) for m in (re.fullmatch(r"\s*Nachlass .*?(" + AMOUNT + ")",
                                                           line) for line in lines) if m]
    printed_nets = iter(zip(discounts, nets))
    if len(nets) != len(discounts):
        failures.append("Druck: Nachlass- und Nettozeilen passen nicht zusammen")
    for area, amount, discount, net in offer.printed_areas:
        oz = area.text("OZ").strip()
        if amount not in sums.get(oz, []):
            failures.append(f"Druck: Summe {oz} {sums.get(oz)}, nachgerechnet {amount}")
        if area.number("NACHLASSPROZ") != 0 or area.number("NACHLASSABS") != 0:
            shown = next(printed_nets, None)
            if shown != (-discount, net):
                failures.append(f"Druck: Nachlass {oz} {shown}, nachgerechnet "
                                f"{(-discount, net)}")
    totals = {}
    for line in lines:
        for label, pattern in (("sum", r"Gesamtsumme :\s+(" + AMOUNT + ")"),
                               ("vat", r"\s*[\d.,]+% MWSt :\s+(" + AMOUNT + ")"),
                               ("gross", r"Bruttosumme :\s+(" + AMOUNT + ")")):
            m = re.fullmatch(pattern, line)
            if m:
                totals[label] = german(m.group(1))
    expected = {"sum": offer.sum, "vat": offer.vat, "gross": offer.gross}
    if totals != expected:
        failures.append(f"Druck: Summen {totals}, nachgerechnet {expected}")
    check_summary(offer, lines, failures)


def check_summary(offer, lines, failures):
    """The summary of areas after the bill of quantities: every area in the
    order of the LV, each before its sub-areas, with its sum, the discount
    (where it has one) and the net."""
    if "Zusammenstellung" not in lines:
        failures.append("Druck: keine Zusammenstellung")
        return
    rows, rules = [], 0
    for line in lines[lines.index("Zusammenstellung") + 1:]:
        if re.fullmatch(r"_+", line):
            rules += 1
            if rules == 3:
                break
        elif rules == 2 and line[:1] != " ":
            m = re.search(r"\s(" + AMOUNT + r")(?:\s+(" + AMOUNT + r"))?\s+(" + AMOUNT + r")$",
                          line)
            rows.append((line.split()[0],) + (tuple(german(g) if g else None for g in m.groups())
                                              if m else (None, None, None)))
    expected = []
    for area, amount, discount, net in offer.areas:
        given = area.number("NACHLASSPROZ") != 0 or area.number("NACHLASSABS") != 0
        expected.append((area.text("OZ").strip(), amount, -discount if given else None, net))
    if rows != expected:
        failures.append(f"Druck: Zusammenstellung {rows}, nachgerechnet {expected}")


def run(cli, *args):
    return subprocess.run([cli, *args], capture_output=True, env={"LC_ALL": "C"})


def check_tender(cli, work, source, failures):
    rng = random.Random(source.name)
    tender = work / ("preise_" + source.name)
    tender.write_bytes(generated_tender(source, rng).encode("cp1252"))
    prices = work / (source.name + ".csv")
    prices.write_text(price_list(read_gaeb(tender.read_bytes()), rng), encoding="utf-8")
    offer_file = work / (source.stem + ".d84")
    # Absolute discounts above an area's sum are meant here: --yes takes them.
    priced = run(cli, "price", "--yes", str(tender), str(prices), str(offer_file))
    if priced.returncode != 0:
        failures.append(f"price: Rückgabe {priced.returncode}: {priced.stderr.decode()}")
        return
    tree = read_gaeb(offer_file.read_bytes())
    offer = Offer(find(tree, "GAEB", "VERGABE", "LV"), failures)
    if not offer.positions or offer.sum == 0:
        failures.append("keine Beträge nachgerechnet")
    info = run(cli, "info", "--json", str(offer_file))
    check_info(offer, json.loads(info.stdout), failures)
    printed = run(cli, "print", str(offer_file), "-", "--width", "160")
    check_print(offer, printed.stdout.decode("utf-8"), failures)
    print(f"{source.name}: {len(offer.positions)} Positionen, {len(offer.areas)} LV-Bereiche, "
          f"Summe {offer.sum}, MwSt {offer.vat}, brutto {offer.gross}")


def main():
    cli, work = sys.argv[1], Path(sys.argv[2])
    work.mkdir(parents=True, exist_ok=True)
    failed = False
    for name in sys.argv[3:]:
        failures = []
        check_tender(cli, work, Path(name), failures)
        for failure in failures:
            print(f"{Path(name).name}: {failure}")
        failed = failed or bool(failures)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
