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
NOT_DECLARATIONS = {"using", "typedef", "template", "class", "struct", "enum", "union", "friend",
                    "static_assert", "namespace", "return", "case", "default", "goto", "break",
                    "continue", "delete", "throw"}
TYPES = {"class", "struct", "enum", "union"}
CONTROL = {"if", "for", "while", "switch", "else", "do", "try", "catch"}


def code_only(text):
    """The text without comments, literals and preprocessor lines, keeping the line breaks."""
    blank = lambda match: "\n" * match.group(0).count("\n") + " "
    text = re.sub(r"//[^\n]*|/\*.*?\*/", blank, text, flags=re.S)
    text = re.sub(r'R"(\w*)\(.*?\)\1"', blank, text, flags=re.S)
    text = re.sub(r'"(\\.|[^"\\\n])*"', '""', text)
    text = re.sub(r"'(\\.|[^'\\\n])*'", "''", text)
    return re.sub(r"^[ \t]*#[^\n]*(\\\n[^\n]*)*", blank, text, flags=re.M)


def head_of(statement):
    """The declaration part before a top-level initialiser."""
    depth = 0
    for i, ch in enumerate(statement):
        if ch in "(<[":
            depth += 1
        elif ch in ")>]":
            depth -= 1
        elif ch == "=" and depth == 0:
            return statement[:i]
    return statement


def declarators(head):
    """The names a declaration head introduces (several for "int a, b;")."""
    parts, depth, start = [], 0, 0
    for i, ch in enumerate(head):
        if ch in "(<[":
            depth += 1
        elif ch in ")>]":
            depth -= 1
        elif ch == "," and depth == 0:
            parts.append(head[start:i])
            start = i + 1
    parts.append(head[start:])
    return [re.findall(r"[A-Za-z_]\w*", re.sub(r"\[[^\]]*\]", "", part))[-1:] for part in parts]


def without_template_arguments(head):
    while re.search(r"<[^<>]*>", head):
        head = re.sub(r"<[^<>]*>", " ", head)
    return head


def is_const(head):
    """Whether the declared object itself is const (for a pointer: const after the last '*')."""
    if re.search(r"\bconstexpr\b", head):
        return True
    return re.search(r"\bconst\b", head.rsplit("*", 1)[-1] if "*" in head else head) is not None


def mutable_variables(statement, at_namespace_scope):
    """The names a statement declares as mutable lasting state."""
    words = statement.split()
    if not words or words[0] in NOT_DECLARATIONS or words[0].startswith("["):
        return []
    lasting = {"static", "thread_local"} & set(words)
    if not at_namespace_scope and not lasting:
        return []
    head = without_template_arguments(head_of(statement))
    if "(" in head or is_const(head) or len(re.findall(r"[A-Za-z_]\w*", head)) < 2:
        return []
    return [names[0] for names in declarators(head) if names]


def opening_kind(buffer):
    """What a '{' after `buffer` opens: a namespace, an initialiser, or another block."""
    text = buffer.strip()
    if re.match(r"(inline\s+)?namespace\b", text) or re.match(r'extern\s*""', text):
        return "namespace"
    words = text.split()
    if not words or words[0] in NOT_DECLARATIONS | CONTROL or text.endswith((":", ")")):
        return "block"
    if "(" in head_of(text) or "]" in text or "->" in text:
        return "block"
    if re.search(r"\b(const|override|final|noexcept|mutable)$", text):
        return "block"
    return "initialiser"


def findings(path):
    text = code_only(open(path, errors="replace").read())
    kinds, after, buffer, line, found = [], [], "", 1, []
    statement_line = 1
    for ch in text:
        if ch == "\n":
            line += 1
        elif not buffer.strip():
            statement_line = line
        if kinds and kinds[-1] == "initialiser":
            if ch == "{":
                kinds.append("initialiser")
                after.append("")
            elif ch == "}":
                kinds.pop()
                after.pop()
            continue
        if ch == "{":
            kind = opening_kind(buffer)
            first = (buffer.split() or [""])[0]
            kinds.append(kind)
            # What follows the closing brace of a type belongs to the same statement.
            after.append("typedef " if first == "typedef" else "type " if first in TYPES else "")
            if kind != "initialiser":
                buffer = ""
        elif ch == "}":
            if kinds:
                kinds.pop()
            buffer = after.pop() if after else ""
        elif ch == ";":
            at_namespace_scope = all(kind == "namespace" for kind in kinds)
            for name in mutable_variables(" ".join(buffer.split()), at_namespace_scope):
                found.append((statement_line, name))
            buffer = ""
        else:
            buffer += ch
    return found


def main():
    root, allowed_file = sys.argv[1], sys.argv[2]
    allowed = set()
    for entry in open(allowed_file):
        entry = entry.split("#", 1)[0].split()
        if len(entry) == 2:
            allowed.add(tuple(entry))
    problems = []
    for folder in FOLDERS:
        for directory, _, files in sorted(os.walk(os.path.join(root, folder))):
            for name in sorted(files):
                if not name.endswith((".cpp", ".h", ".hpp", ".cc")):
                    continue
                path = os.path.join(directory, name)
                relative = os.path.relpath(path, root).replace(os.sep, "/")
                for line, variable in findings(path):
                    if (relative, variable) not in allowed:
                        problems.append(f"{relative}:{line}: mutable state '{variable}'")
    for problem in problems:
        print(problem)
    if problems:
        print("Pass the state in from the caller instead (or list it, with its reason, in "
              + os.path.basename(allowed_file) + ").")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
