#!/usr/bin/env python3
"""Every translation is finished and keeps its source's %N placeholders and '&' count.

usage: translations.py <lupdate> <source folder>

The .ts files are first brought up to date with the sources in a scratch
folder, so that a text added to the program but not translated fails too.
"""

import collections
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

SOURCE_FOLDERS = ["app", "document", "mainwindow", "view", "editor", "export"]
LANGUAGES = ["de", "es", "fr", "ru"]


def problems(ts_file):
    for context in ElementTree.parse(ts_file).getroot().iter("context"):
        for message in context.iter("message"):
            source, translation = message.findtext("source"), message.find("translation")
            text = translation.text or ""
            where = f"{ts_file.name}: {context.findtext('name')}: {source!r}"
            if translation.get("type") in ("unfinished", "vanished", "obsolete") or not text.strip():
                yield f"{where} is not translated"
            elif collections.Counter(re.findall(r"%\d", text)) != collections.Counter(re.findall(r"%\d", source)):
                yield f"{where}: {text!r} has other placeholders"
            elif text.count("&") != source.count("&"):
                yield f"{where}: {text!r} has another number of '&'"


def main():
    lupdate, root = sys.argv[1], pathlib.Path(sys.argv[2])
    with tempfile.TemporaryDirectory() as scratch:
        files = [pathlib.Path(scratch) / f"gameoflife_{language}.ts" for language in LANGUAGES]
        for ts_file in files:
            shutil.copy(root / "translations" / ts_file.name, ts_file)
        subprocess.run([lupdate, "-silent", "-no-obsolete", "-locations", "none", "-I", str(root)]
                       + [str(root / folder) for folder in SOURCE_FOLDERS] + ["-ts"] + [str(f) for f in files],
                       check=True)
        found = [problem for ts_file in files for problem in problems(ts_file)]
    for problem in found:
        print(problem)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
