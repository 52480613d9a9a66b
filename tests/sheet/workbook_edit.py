"""Types values into the cells of a workbook that tarvo-cli exported, as a
person would in a spreadsheet program: numbers, texts, formulas. Only the
standard library: an XLSX is a ZIP of XML parts."""

import re
import zipfile
import xml.etree.ElementTree as ET

NS = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
Q = "{%s}" % NS


def column_index(reference):
    letters = re.match(r"[A-Z]+", reference).group(0)
    index = 0
    for c in letters:
        index = index * 26 + ord(c) - 64
    return index - 1


def column_name(index):
    name = ""
    index += 1
    while index:
        index, rest = divmod(index - 1, 26)
        name = chr(65 + rest) + name
    return name


class Workbook:
    """The first worksheet of an XLSX with its shared strings."""

    def __init__(self, path):
        with zipfile.ZipFile(path) as z:
            self.parts = {n: z.read(n) for n in z.namelist()}
        ET.register_namespace("", NS)
        self.strings = []
        if "xl/sharedStrings.xml" in self.parts:
            root = ET.fromstring(self.parts["xl/sharedStrings.xml"])
            for si in root.findall(Q + "si"):
                self.strings.append("".join(t.text or "" for t in si.iter(Q + "t")))
        self.sheet_name = next(n for n in self.parts if n.startswith("xl/worksheets/sheet"))
        self.root = ET.fromstring(self.parts[self.sheet_name])

    def rows(self):
        """{row number: {column index: cell element}}"""
        result = {}
        for row in self.root.iter(Q + "row"):
            cells = {column_index(c.get("r")): c for c in row.findall(Q + "c")}
            result[int(row.get("r"))] = (row, cells)
        return result

    def value(self, cell):
        if cell is None:
            return ""
        v = cell.find(Q + "v")
        if cell.get("t") == "s":
            return self.strings[int(v.text)]
        if cell.get("t") == "inlineStr":
            return "".join(t.text or "" for t in cell.iter(Q + "t"))
        return v.text if v is not None and v.text else ""

    def key_row(self):
        for number, (_, cells) in self.rows().items():
            if any(self.value(c) == "KENNUNG" for c in cells.values()):
                return number, {self.value(c): i for i, c in cells.items()}
        raise ValueError("no key row")

    def set(self, row_number, column, kind, value, cached=None):
        """Sets a cell: kind "n" (number), "s" (inline text) or "f" (formula
        with a cached number, or none)."""
        row, cells = self.rows()[row_number]
        cell = cells.get(column)
        if cell is None:
            cell = ET.SubElement(row, Q + "c", {"r": column_name(column) + str(row_number)})
            row[:] = sorted(row, key=lambda c: column_index(c.get("r")))
        for child in list(cell):
            cell.remove(child)
        cell.attrib.pop("t", None)
        if kind == "n":
            ET.SubElement(cell, Q + "v").text = value
        elif kind == "s":
            cell.set("t", "inlineStr")
            ET.SubElement(ET.SubElement(cell, Q + "is"), Q + "t").text = value
        else:
            ET.SubElement(cell, Q + "f").text = value
            if cached is not None:
                ET.SubElement(cell, Q + "v").text = cached

    def drop_cached_results(self):
        """Formula cells lose their results, so a spreadsheet program computes them."""
        for cell in self.root.iter(Q + "c"):
            if cell.find(Q + "f") is not None:
                for v in cell.findall(Q + "v"):
                    cell.remove(v)
                cell.attrib.pop("t", None)

    def save(self, path):
        self.parts[self.sheet_name] = ET.tostring(self.root, xml_declaration=True, encoding="UTF-8")
        with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
            for name, data in self.parts.items():
                z.writestr(name, data)
