#!/usr/bin/env python3
"""Fails when product code holds mutable state that outlives a call: a non-const variable at
namespace scope, or a static or thread_local one inside a class or function. Such state makes
two generations on two threads disturb each other; the caller should own it and pass it.

Usage: mutable_globals.py SOURCE_ROOT ALLOWED_FILE
ALLOWED_FILE lists "path name" pairs that must stay (with the reason in a comment above)."""
import os
import re
import sys

FOLDERS = ["generation", "galaxy", "files", "export", "cli", "platform", "texgen", "app"]
NOT_DECLARATIONS = set("using typedef template class struct enum union friend static_assert namespace "
                       "return case default goto break continue delete throw".split())
CONTROL = set("if for while switch else do try catch".split())
NAME = r"[A-Za-z_]\w*"


def code_only(text):
    """The text without comments, literals and preprocessor lines, keeping the line breaks."""
    blank = lambda match: "\n" * match.group(0).count("\n") + " "
    text = re.sub(r"//[^\n]*|/\*.*?\*/", blank, text, flags=re.S)
    text = re.sub(r'R"(\w*)\(.*?\)\1"', blank, text, flags=re.S)
    text = re.sub(r'"(\\.|[^"\\\n])*"', '""', text)
    text = re.sub(r"'(\\.|[^'\\\n])*'", "''", text)
    return re.sub(r"^[ \t]*#[^\n]*(\\\n[^\n]*)*", blank, text, flags=re.M)


def split_outside_brackets(text, separator):
    """`text` split at each `separator` outside (), <> and []."""
    depth, cuts = 0, [-1]
    for i, ch in enumerate(text):
        depth += (ch in "(<[") - (ch in ")>]")
        if ch == separator and depth == 0:
            cuts.append(i)
    return [text[a + 1:b] for a, b in zip(cuts, cuts[1:] + [len(text)])]


def mutable_variables(statement, at_namespace_scope):
    """The names a statement declares as mutable lasting state ("int a, b;" declares two)."""
    words = statement.split()
    if not words or words[0] in NOT_DECLARATIONS or words[0].startswith("["):
        return []
    if not at_namespace_scope and not {"static", "thread_local"} & set(words):
        return []
    head = split_outside_brackets(statement, "=")[0]
    while re.search(r"<[^<>]*>", head):
        head = re.sub(r"<[^<>]*>", " ", head)  # template arguments
    # A const object, unlike a pointer to const, has a const after the last '*'.
    if "(" in head or re.search(r"\bconstexpr\b|\bconst\b(?!.*\*)", head) or len(re.findall(NAME, head)) < 2:
        return []
    names = [re.findall(NAME, re.sub(r"\[[^\]]*\]", "", part))[-1:] for part in split_outside_brackets(head, ",")]
    return [found[0] for found in names if found]


def opening_kind(text):
    """What a '{' after `text` opens: a namespace, an initialiser, or another block."""
    if re.match(r"(inline\s+)?namespace\b|extern\s*\"\"", text):
        return "namespace"
    if (not text or text.split()[0] in NOT_DECLARATIONS | CONTROL or text.endswith((":", ")")) or "]" in text
            or "->" in text or "(" in split_outside_brackets(text, "=")[0]
            or re.search(r"\b(const|override|final|noexcept|mutable)$", text)):
        return "block"
    return "initialiser"


def findings(path):
    """(line, name) of each mutable lasting variable in the file."""
    text = code_only(open(path, errors="replace").read())
    # Open braces as (kind, what follows the closing brace: a type's declarators stay one statement).
    braces, buffer, line, statement_line, found = [], "", 1, 1, []
    for ch in text:
        line += ch == "\n"
        if ch != "\n" and not buffer.strip():
            statement_line = line
        if braces and braces[-1][0] == "initialiser":
            if ch in "{}":
                braces = braces + [("initialiser", "")] if ch == "{" else braces[:-1]
        elif ch == "{":
            first = (buffer.split() or [""])[0]
            after = "typedef " if first == "typedef" else "type " if first in ("class", "struct", "enum", "union") else ""
            braces.append((opening_kind(buffer.strip()), after))
            buffer = buffer if braces[-1][0] == "initialiser" else ""
        elif ch == "}":
            buffer = braces.pop()[1] if braces else ""
        elif ch == ";":
            namespace_scope = all(kind == "namespace" for kind, _ in braces)
            found += [(statement_line, name) for name in mutable_variables(" ".join(buffer.split()), namespace_scope)]
            buffer = ""
        else:
            buffer += ch
    return found


def main():
    root, allowed_file = sys.argv[1], sys.argv[2]
    allowed = {tuple(entry) for entry in (line.split("#", 1)[0].split() for line in open(allowed_file)) if len(entry) == 2}
    problems = []
    for directory, _, files in (walked for folder in FOLDERS for walked in sorted(os.walk(os.path.join(root, folder)))):
        for path in (os.path.join(directory, name) for name in sorted(files) if name.endswith((".cpp", ".h", ".hpp", ".cc"))):
            relative = os.path.relpath(path, root).replace(os.sep, "/")
            problems += [f"{relative}:{line}: mutable state '{name}'" for line, name in findings(path) if (relative, name) not in allowed]
    if problems:
        print("\n".join(problems) + "\nPass the state in from the caller instead (or list it, with its reason, in "
              + os.path.basename(allowed_file) + ").")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
