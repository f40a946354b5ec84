"""Reads a published file with a real parser and prints what it holds as JSON.

Usage: parse_published.py MODE PATH [MODE PATH ...], MODE being one of

csv    rows of the CSV (UTF-8 with BOM, ";" separated), as lists of texts
json   the JSON document as loaded (NaN and Infinity refused)
index  an HTML5 index, parsed strictly: lang, title, heading, every link, and
       every table's caption, header cells and rows (texts and link targets)
page   the report page, parsed as a browser would: its table's rows of texts
One file gives its content; several give the list of their contents.
Any parse error exits non-zero with the error on stderr.
"""
import csv
import io
import json
import sys

import html5lib


def cell_text(element):
    return "".join(element.itertext()).strip()


def read_csv(path):
    with open(path, "rb") as f:
        raw = f.read()
    if not raw.startswith(b"\xef\xbb\xbf"):
        raise ValueError("no byte-order mark")
    text = raw[3:].decode("utf-8")
    if text and not text.endswith("\r\n"):
        raise ValueError("last line does not end in CR LF")
    return list(csv.reader(io.StringIO(text, newline=""), delimiter=";", strict=True))


def refuse_constant(name):
    raise ValueError("not JSON: " + name)


def read_json(path):
    with open(path, "rb") as f:
        return json.loads(f.read().decode("utf-8"), parse_constant=refuse_constant)


def read_index(path):
    with open(path, "rb") as f:
        parser = html5lib.HTMLParser(strict=True, namespaceHTMLElements=False)
        root = parser.parse(f.read())
    tables = []
    for table in root.iter("table"):
        caption = table.find("caption")
        rows = []
        for tr in table.find("tbody").iter("tr"):
            rows.append([{"tag": cell.tag, "text": cell_text(cell),
                          "links": [a.get("href") for a in cell.iter("a")]}
                         for cell in tr if cell.tag in ("th", "td")])
        tables.append({
            "caption": cell_text(caption) if caption is not None else None,
            "headers": [cell_text(th) for th in table.find("thead").iter("th")],
            "rows": rows,
        })
    return {
        "lang": root.get("lang"),
        "title": cell_text(root.find("head/title")),
        "heading": cell_text(root.find("body//h1")),
        "links": [a.get("href") for a in root.iter("a")],
        "tables": tables,
    }


def read_page(path):
    with open(path, "rb") as f:
        root = html5lib.parse(f.read(), namespaceHTMLElements=False)
    for table in root.iter("table"):
        if table.get("width") == "1050":
            return [[cell_text(td) for td in tr.iter("td")] for tr in table.iter("tr")]
    raise ValueError("no report table")


def main():
    readers = {"csv": read_csv, "json": read_json, "index": read_index, "page": read_page}
    pairs = list(zip(sys.argv[1::2], sys.argv[2::2]))
    contents = [readers[mode](path) for mode, path in pairs]
    json.dump(contents[0] if len(contents) == 1 else contents, sys.stdout, ensure_ascii=True)


if __name__ == "__main__":
    main()
