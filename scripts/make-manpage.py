#!/usr/bin/env python3
"""Writes the manual page of a Tarvex program from its own --help and --version texts, so that the
manual and the help never differ.

    make-manpage.py PROGRAM NAME LANG SUMMARY SEE_ALSO OUTPUT

The help is read as the programs print it: a line "Utilisation : ..." (and the lines indented
under it) is the synopsis; an unindented line ending in ":" opens a section; an indented line
"TERM  description" is an entry of that section; any other line is a paragraph of the
description. LANG ("fr" or "en") chooses the language of the help (the program's own
translation) and of the headings.
"""
import os
import re
import subprocess
import sys

HEADINGS = {
    "fr": {"name": "NOM", "synopsis": "SYNOPSIS", "description": "DESCRIPTION",
           "see": "VOIR AUSSI", "manual": "Commandes utilisateur"},
    "en": {"name": "NAME", "synopsis": "SYNOPSIS", "description": "DESCRIPTION",
           "see": "SEE ALSO", "manual": "User Commands"},
}
USAGE = re.compile(r"^(Utilisation|Usage) ?: *(.*)$")
ENTRY = re.compile(r"^ +(\S.*?)(?: {2,}(.*))?$")


def roff(text):
    """Escapes text for roff: backslashes, hyphens, and a control character at the start."""
    text = text.replace("\\", "\\e").replace("-", "\\-")
    return "\\&" + text if text[:1] in (".", "'") else text


def run(program, option, lang):
    env = dict(os.environ, LANGUAGE=lang, LC_ALL="C.UTF-8", ASAN_OPTIONS="detect_leaks=0")
    result = subprocess.run([program, option], env=env, capture_output=True, text=True,
                            check=True)
    return result.stdout.rstrip("\n").split("\n")


def page(program, name, lang, summary, see_also):
    titles = HEADINGS[lang]
    version = run(program, "--version", lang)[0]
    out = [f'.TH {name.upper()} 1 "" "{roff(version)}" "{titles["manual"]}"',
           ".nh", ".ad l", f".SH {titles['name']}", f"{roff(name)} \\- {roff(summary)}"]
    synopsis, sections, description = [], [], []
    in_usage = False
    for line in run(program, "--help", lang):
        usage = USAGE.match(line)
        if usage:
            synopsis.append(usage.group(2))
            in_usage = True
            continue
        if in_usage and line.startswith(" "):
            synopsis.append(line.strip())
            continue
        in_usage = False
        if not line.strip():
            continue
        if not line.startswith(" ") and line.rstrip().endswith(":"):
            title = line.rstrip(" :")
            sections.append((title, []))
        elif sections and ENTRY.match(line):
            term, text = ENTRY.match(line).groups()
            sections[-1][1].append((term, (text or "").strip().removeprefix("(").removesuffix(")")))
        else:
            description.append(line.strip())
    out.append(f".SH {titles['synopsis']}")
    for i, line in enumerate(synopsis):
        command, _, rest = line.partition(" ")
        out += ([] if i == 0 else [".br"]) + [f".B {roff(command)}", roff(rest)]
    if description:
        out += [f".SH {titles['description']}"] + [roff(line) for line in description]
    for title, entries in sections:
        out.append(f".SH {roff(title.upper())}")
        for term, text in entries:
            first, _, rest = term.partition(" ")
            out += [".TP", f"\\fB{roff(first)}\\fR {roff(rest)}".rstrip()]
            out += [roff(text)] if text else []
    out += [f".SH {titles['see']}", f".BR {roff(see_also)} (1)"]
    return "\n".join(out) + "\n"


def main():
    program, name, lang, summary, see_also, output = sys.argv[1:]
    with open(output, "w", encoding="utf-8") as f:
        f.write(page(program, name, lang, summary, see_also))


if __name__ == "__main__":
    main()
