#!/usr/bin/env python3
"""Checks that every language's resources are complete against English's.

    check_languages.py <lang dir> <resource.h> <languages.h> [<winnt.h>] [--stamp FILE]

Each lang/<locale>.rc must be a row of kLanguages (engine/languages.h) and
every row must have its file. Against lang/en-US.rc, each file must have:
  - every string of the table, none more, none empty where English's is not,
    with the same placeholders (%s, %u, %d) in the same order, since the
    program fills them in order;
  - every dialog, with the same controls (statement and identifier) in the
    same order, which is the tab order;
  - a LANGUAGE statement naming the row's language (checked when winnt.h is
    given, which defines the names).
Prints every gap and exits 1 when there is one, so that the build stops.
"""
import os
import re
import sys

CONTROL_WORDS = {
    "LTEXT", "RTEXT", "CTEXT", "CONTROL", "PUSHBUTTON", "DEFPUSHBUTTON", "GROUPBOX", "AUTOCHECKBOX",
    "CHECKBOX", "AUTORADIOBUTTON", "RADIOBUTTON", "AUTO3STATE", "STATE3", "PUSHBOX", "ICON",
    "EDITTEXT", "COMBOBOX", "LISTBOX", "SCROLLBAR",
}
# The statements whose first argument is the identifier rather than a text.
NO_TEXT = {"EDITTEXT", "COMBOBOX", "LISTBOX", "SCROLLBAR"}


def strip_comments(text):
    # Strings may hold "//" (addresses), so comments are removed outside them.
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if c == '"':
            j = i + 1
            while j < n:
                if text[j] == '\\':
                    j += 2
                    continue
                if text[j] == '"':
                    if j + 1 < n and text[j + 1] == '"':
                        j += 2
                        continue
                    break
                j += 1
            out.append(text[i:j + 1])
            i = j + 1
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            i = n if end < 0 else end + 2
        elif text.startswith("//", i):
            end = text.find("\n", i)
            i = n if end < 0 else end
        else:
            out.append(c)
            i += 1
    return "".join(out)


def defines(header):
    values = {}
    for line in open(header, encoding="utf-8"):
        m = re.match(r"\s*#define\s+(\w+)\s+(0x[0-9A-Fa-f]+|\d+)\b", line)
        if m:
            values[m.group(1)] = int(m.group(2), 0)
    return values


def identifier(token, names):
    token = token.strip()
    total = 0
    for part in token.split("+"):
        part = part.strip()
        if re.fullmatch(r"-?(0x[0-9A-Fa-f]+|\d+)", part):
            total += int(part, 0)
        elif part in names:
            total += names[part]
        else:
            return token  # a name the header lacks is compared as written
    return total


def split_args(text):
    args, depth, cur, quoted = [], 0, [], False
    i = 0
    while i < len(text):
        c = text[i]
        if quoted:
            cur.append(c)
            if c == '\\' and i + 1 < len(text):
                cur.append(text[i + 1])
                i += 1
            elif c == '"':
                if i + 1 < len(text) and text[i + 1] == '"':
                    cur.append('"')
                    i += 1
                else:
                    quoted = False
        elif c == '"':
            quoted = True
            cur.append(c)
        elif c == "," and depth == 0:
            args.append("".join(cur).strip())
            cur = []
        else:
            depth += c == "("
            depth -= c == ")"
            cur.append(c)
        i += 1
    args.append("".join(cur).strip())
    return args


def literal(token):
    body = token[1:-1]
    return re.sub(r'\\(.)', lambda m: {"n": "\n", "t": "\t"}.get(m.group(1), m.group(1)), body).replace('""', '"')


class Script:
    def __init__(self, path, names):
        self.path = path
        text = strip_comments(open(path, encoding="utf-8").read())
        self.language = None
        m = re.search(r"^\s*LANGUAGE\s+(\w+)\s*,\s*(\w+)", text, re.M)
        if m:
            self.language = (m.group(1), m.group(2))
        self.strings = {}
        for block in re.finditer(r"\bSTRINGTABLE\b.*?\bBEGIN\b(.*?)^\s*END\b", text, re.S | re.M):
            for entry in re.finditer(r'^\s*([\w+ ]+?)\s*,?\s*("(?:[^"\\]|\\.|"")*")', block.group(1), re.M):
                self.strings[identifier(entry.group(1), names)] = literal(entry.group(2))
        self.dialogs = {}
        for dialog in re.finditer(r"^\s*(\w+)\s+DIALOGEX?\b(.*?)^BEGIN\b(.*?)^END\b", text, re.S | re.M):
            controls = []
            statement = None
            for line in dialog.group(3).splitlines():
                word = line.split(None, 1)[0] if line.strip() else ""
                if word in CONTROL_WORDS:
                    if statement:
                        controls.append(statement)
                    statement = line.strip()
                elif statement and line.strip():
                    statement += " " + line.strip()
            if statement:
                controls.append(statement)
            parsed = []
            for s in controls:
                word, rest = s.split(None, 1)
                args = split_args(rest)
                ident = args[0] if word in NO_TEXT else args[1] if len(args) > 1 else "?"
                parsed.append((word, identifier(ident, names)))
            self.dialogs[identifier(dialog.group(1), names)] = parsed


PLACEHOLDER = re.compile(r"%[sud%]")


def placeholders(text):
    return [p for p in PLACEHOLDER.findall(text) if p != "%%"]


def language_rows(header):
    return dict((m.group(1), int(m.group(2), 0))
                for m in re.finditer(r'\{\s*"([\w-]+)"\s*,\s*(0x[0-9A-Fa-f]+)', open(header, encoding="utf-8").read()))


def check(lang_dir, resource_h, languages_h, winnt_h=None):
    names = defines(resource_h)
    rows = language_rows(languages_h)
    system = defines(winnt_h) if winnt_h else None
    gaps = []
    files = {f[:-3]: os.path.join(lang_dir, f) for f in os.listdir(lang_dir) if f.endswith(".rc")}
    for locale in sorted(set(rows) - set(files)):
        gaps.append(f"{locale}: a language of the table has no file {locale}.rc")
    for locale in sorted(set(files) - set(rows)):
        gaps.append(f"{locale}.rc: no row of the languages table names it")
    if "en-US" not in files:
        return gaps + ["en-US.rc: English is missing"]
    english = Script(files["en-US"], names)
    for locale in sorted(set(files) & set(rows)):
        script = english if locale == "en-US" else Script(files[locale], names)
        where = os.path.basename(script.path)
        if script.language is None:
            gaps.append(f"{where}: no LANGUAGE statement")
        elif system is not None:
            primary, sub = (system.get(n) for n in script.language)
            if primary is None or sub is None or (sub << 10 | primary) != rows[locale]:
                gaps.append(f"{where}: LANGUAGE {', '.join(script.language)} is not 0x{rows[locale]:04X}")
        if script is english:
            continue
        for ident in sorted(set(english.strings) - set(script.strings), key=str):
            gaps.append(f"{where}: string {ident} is missing")
        for ident in sorted(set(script.strings) - set(english.strings), key=str):
            gaps.append(f"{where}: string {ident} is not in English")
        for ident in sorted(set(english.strings) & set(script.strings), key=str):
            theirs, ours = english.strings[ident], script.strings[ident]
            if theirs and not ours:
                gaps.append(f"{where}: string {ident} is empty")
            if placeholders(theirs) != placeholders(ours):
                gaps.append(f"{where}: string {ident} has placeholders {placeholders(ours)}, "
                            f"English has {placeholders(theirs)}")
        for ident in sorted(set(english.dialogs) - set(script.dialogs), key=str):
            gaps.append(f"{where}: dialog {ident} is missing")
        for ident in sorted(set(english.dialogs) & set(script.dialogs), key=str):
            if english.dialogs[ident] != script.dialogs[ident]:
                gaps.append(f"{where}: dialog {ident} has controls {script.dialogs[ident]}, "
                            f"English has {english.dialogs[ident]}")
    return gaps


def main(argv):
    stamp = None
    if "--stamp" in argv:
        at = argv.index("--stamp")
        stamp = argv[at + 1]
        argv = argv[:at] + argv[at + 2:]
    if len(argv) not in (4, 5):
        print(__doc__, file=sys.stderr)
        return 2
    gaps = check(*argv[1:])
    for gap in gaps:
        print(f"check_languages: {gap}", file=sys.stderr)
    if gaps:
        return 1
    if stamp:
        open(stamp, "w").close()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
