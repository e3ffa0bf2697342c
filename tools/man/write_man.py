#!/usr/bin/env python3
"""Writes a program's manual page from its own --help (and, for a program with commands, from
each command's --help), so the page says what the program says.

    tools/man/write_man.py PROGRAM NAME OUTPUT.1

The sections after the options (FILES, ENVIRONMENT) are ours; everything else is read from the
program. The page carries no date, so the same program always gives the same page.
"""
import re
import subprocess
import sys

SUMMARIES = {
    "starvane": "galaxy atlas and planetary-system generator for the Orbiter simulator",
    "starvane-cli": "Starvane's star systems, galaxy and exports without the atlas window",
}

FILES = r"""
.TP
.I Starvane/
The Starvane folder of the simulator root: \fIStarvane.cfg\fR, the stellar tables in
\fIData/\fR, galaxies in \fIGalaxy/\fR, saved systems in \fISavedSystems/\fR and the cache list
\fICache.txt\fR.
.TP
.I Config/ \fRand\fP Textures/
The simulator's folders, where exports to the cache go.
.TP
.I <prefix>/share/starvane/Starvane/
The default data an installed copy ships; a new simulator root is filled from it, never over a
file that is there already.
.TP
.I <prefix>/lib/starvane/texgen.so
The texture plug-in an installed copy uses.
"""

ENVIRONMENT = r"""
.TP
.B STARVANE_ROOT
The simulator root an installed copy works in when it is given no \fB\-\-root\fR and the
working folder holds no \fIStarvane/\fR folder; without it, \fI~/starvane-root\fR. Point it at
an Orbiter installation to export straight into it.
"""


def run(command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


def roff(text):
    text = text.replace("\\", "\\e").replace("-", "\\-")
    return "\n".join("\\&" + line if line.startswith((".", "'")) else line for line in text.split("\n"))


def sections(help_text):
    """The help's description and its sections as {title: [(term, text)]}."""
    description, found, current = [], {}, None
    for line in help_text.splitlines():
        heading = re.fullmatch(r"(\w[\w ]*):", line)
        if heading:
            current = found.setdefault(heading.group(1), [])
        elif current is None:
            if line.strip() and not line.startswith("Usage:"):
                description.append(line.strip())
        elif line.strip():
            term, _, text = line.strip().partition("  ")
            if line.startswith("   ") and current and not re.match(r"^ {2}\S", line):
                current[-1] = (current[-1][0], current[-1][1] + " " + line.strip())
            else:
                current.append((term, text.strip()))
    return " ".join(description), found


def items(entries, help_too=True):
    return "".join(f".TP\n.B {roff(term)}\n{roff(text)}\n" for term, text in entries
                   if help_too or not term.startswith("-h,"))


def page(program, name):
    description, found = sections(run([program, "--help"]))
    version = run([program, "--version"]).strip().split()[-1]
    commands = found.get("Subcommands", [])
    out = [f'.TH {name.upper()} 1 "" "Starvane {version}" "User Commands"',
           ".SH NAME", f"{roff(name)} \\- {roff(SUMMARIES.get(name, description))}",
           ".SH SYNOPSIS", f".B {roff(name)}",
           "\\fIcommand\\fR [\\fIoptions\\fR] [\\fIarguments\\fR]" if commands else "[\\fIoptions\\fR]",
           ".SH DESCRIPTION", roff(description),
           ".SH OPTIONS", items(found.get("Options", [])).rstrip()]
    if commands:
        out.append(".SH COMMANDS")
        for command, summary in commands:
            command_description, command_found = sections(run([program, command, "--help"]))
            out += [f".SS {roff(command)}", roff(summary or command_description),
                    items(command_found.get("Positionals", []) + command_found.get("Options", []), False).rstrip()]
    out += [".SH FILES", FILES.strip(), ".SH ENVIRONMENT", ENVIRONMENT.strip(),
            ".SH SEE ALSO", "\\fBstarvane\\fR(1), \\fBstarvane\\-cli\\fR(1)"]
    return "\n".join(part for part in out if part) + "\n"


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    program, name, output = sys.argv[1:]
    text = page(program, name)
    with open(output, "w", encoding="utf-8") as out:
        out.write(text)


if __name__ == "__main__":
    main()
