#!/usr/bin/env python3
"""Every translation in translations/ is finished and fits its source text.

usage: translations.py <lupdate> <source folder>

The .ts files are first brought up to date with the sources in a scratch
folder, so that a text added to the program without its translations fails
here as an unfinished message. Then each message must have a translation
with exactly the %N placeholders of its source (a lost one drops a number,
an extra one prints "%3") and as many '&' as the source (a mnemonic or the
'&' of a name).
"""

import collections
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

SOURCE_FOLDERS = ["app", "mainwindow", "view", "editor", "export"]
LANGUAGES = ["de", "es", "fr", "ru"]


def problems(ts_file):
    found = []
    for context in ElementTree.parse(ts_file).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            source = message.findtext("source")
            translation = message.find("translation")
            text = translation.text or ""
            where = f"{ts_file.name}: {name}: {source!r}"
            if translation.get("type") in ("unfinished", "vanished", "obsolete") or not text.strip():
                found.append(f"{where} is not translated")
                continue
            placeholders = collections.Counter(re.findall(r"%\d", source))
            if collections.Counter(re.findall(r"%\d", text)) != placeholders:
                found.append(f"{where}: {text!r} has other placeholders")
            if text.count("&") != source.count("&"):
                found.append(f"{where}: {text!r} has another number of '&'")
    return found


def main():
    lupdate, root = sys.argv[1], pathlib.Path(sys.argv[2])
    with tempfile.TemporaryDirectory() as scratch:
        files = []
        for language in LANGUAGES:
            ts_file = pathlib.Path(scratch) / f"gameoflife_{language}.ts"
            shutil.copy(root / "translations" / ts_file.name, ts_file)
            files.append(ts_file)
        subprocess.run([lupdate, "-silent", "-no-obsolete", "-locations", "none", "-I", str(root)]
                       + [str(root / folder) for folder in SOURCE_FOLDERS] + ["-ts"] + [str(f) for f in files],
                       check=True)
        found = [problem for ts_file in files for problem in problems(ts_file)]
    for problem in found:
        print(problem)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
