#!/usr/bin/env python3
"""Rewrites interface-text lookups that name their key as a string into the key constants
generated from resources/Language/English.ini, so that the compiler checks every key.

    scripts/uikeys_convert.py [--check] [--no-format] [--runtime] [paths...]

Run from anywhere; paths default to the source folders of the tree (app bench card core
editor fuzz shell tests weave). Forms rewritten:

    GetUiMessage(QStringLiteral("Key"))              -> GetUiMessage(UiKey::String::Key)
    GetUiMessage(c ? QStringLiteral("A") : ("B"))    -> GetUiMessage(c ? UiKey::String::A : ...)
    GetUiString(QStringLiteral("Sec"), "Key")        -> GetUiString(UiKey::Sec::Key)
    GetUiString(section, "Key")                      -> GetUiString(UiKey::Sec::Key)
        where `section` is defined from a literal earlier in the file (nearest definition)
    text("Key"), where the file defines
        QString text(const char *key) { return GetUiString(<section>, QLatin1String(key)); }
                                                     -> GetUiString(UiKey::Sec::Key)
        (the wrapper, and a section variable nothing uses any more, are then removed)

A literal may be written "Key", QStringLiteral("Key"), QLatin1String("Key"),
QString::fromLatin1("Key") or QString("Key"); names match English.ini without regard to
case and are written as English.ini spells them. Running it again changes nothing.

Every lookup that still passes a string literal as its key is reported with its place and
the reason (a key not in English.ini, a key in another section, a section the script cannot
resolve); such a lookup must be mended by hand: add the text to the language files, or keep
a key built at run time in a variable and pass it to GetUiString(section, key).
--runtime also lists the lookups whose key is known only at run time (object names, table
rows), for review. --check changes nothing and exits with 1 when anything is left to
convert or to mend (the tree's test runs it so). Converted files are passed through
clang-format unless --no-format is given.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ENGLISH = os.path.join(ROOT, "resources", "Language", "English.ini")
DEFAULT_DIRS = ["app", "bench", "card", "core", "editor", "fuzz", "shell", "tests", "weave"]
# The lookup itself, which takes strings by design.
SKIP = {os.path.join("core", "settings", "uitexts.cpp"), os.path.join("core", "settings", "uitexts.h")}

NAME = r"[A-Za-z_][A-Za-z0-9_]*"
LIT = (r'(?:(?:QStringLiteral|QLatin1String|QLatin1StringView|QString::fromLatin1|QString::fromUtf8|QString)'
       r'\(\s*"(?P<{0}>' + NAME + r')"\s*\)|"(?P<{0}2>' + NAME + r')")')


def lit(group):
    return LIT.format(group)


def lit_value(m, group):
    return m.group(group) or m.group(group + "2")


MESSAGE_ONE = re.compile(r"GetUiMessage\(\s*" + lit("k") + r"\s*\)")
MESSAGE_CHOICE = re.compile(
    r"GetUiMessage\(\s*(?P<cond>[^()?;]+?)\s*\?\s*" + lit("a") + r"\s*:\s*" + lit("b") + r"\s*\)")
STRING_TWO = re.compile(r"GetUiString\(\s*" + lit("s") + r"\s*,\s*" + lit("k") + r"\s*\)")
STRING_VAR = re.compile(r"GetUiString\(\s*(?P<var>" + NAME + r")\s*,\s*" + lit("k") + r"\s*\)")
WRAPPER = re.compile(
    r"(?P<all>\n?(?:static\s+)?QString\s+(?P<name>" + NAME + r")\(\s*const\s+char\s*\*\s*(?P<arg>" + NAME
    + r")\s*\)\s*\{\s*return\s+GetUiString\(\s*(?:" + lit("s") + r"|(?P<var>" + NAME
    + r"))\s*,\s*(?:QLatin1String|QString::fromLatin1|QLatin1StringView)\(\s*(?P=arg)\s*\)\s*\)\s*;\s*\}\n)")


def definition_pattern(var):
    """Where `var` is given a literal: `var = "X"`, `var("X")`, `var{"X"}`, `var[] = "X"`."""
    return re.compile(r"\b" + re.escape(var) + r"\b\s*(?:\[\s*\])?\s*(?:=\s*|\(\s*|\{\s*)" + lit("v"))


class Keys:
    def __init__(self, path):
        self.sections = {}  # lower section -> (Section, {lower key: Key})
        section = None
        with open(path, encoding="utf-8") as f:
            for line in f.read().split("\n"):
                t = line.strip()
                if not t or t[0] in ";#":
                    continue
                if t.startswith("[") and t.endswith("]"):
                    name = t[1:-1].strip()
                    section = self.sections.setdefault(name.lower(), (name, {}))
                elif "=" in line and section is not None:
                    key = line.split("=", 1)[0].strip()
                    section[1][key.lower()] = key

    def constant(self, section, key):
        """(constant, None) or (None, why)."""
        entry = self.sections.get(section.lower())
        if entry is None:
            return None, f"English.ini has no section [{section}]"
        name = entry[1].get(key.lower())
        if name is None:
            elsewhere = [s for s, keys in self.sections.values() if key.lower() in keys]
            where = f" (it stands in [{', '.join(elsewhere)}])" if elsewhere else " (nor in any section)"
            return None, f"key {key} is not in [{entry[0]}] of English.ini{where}"
        return f"UiKey::{entry[0]}::{name}", None


def line_of(text, pos):
    return text.count("\n", 0, pos) + 1


class FileConverter:
    def __init__(self, keys, rel, text):
        self.keys = keys
        self.rel = rel
        self.text = text
        self.problems = []  # (the call as written, why it was left)
        self.used_sections = set()  # section variables some converted lookup used

    def fail(self, call, why):
        self.problems.append((call, why))

    def substitute(self, pattern, make):
        def repl(m):
            out = make(m)
            if out is None:
                return m.group(0)
            return out

        self.text = pattern.sub(repl, self.text)

    def constant(self, m, section, key):
        const, why = self.keys.constant(section, key)
        if const is None:
            self.fail(m.group(0), why)
        return const

    def section_of(self, var, pos):
        """The literal the nearest definition of `var` before pos gives it, or None."""
        value = None
        for d in definition_pattern(var).finditer(self.text, 0, pos):
            value = lit_value(d, "v")
        return value

    def convert(self):
        self.substitute(MESSAGE_ONE, lambda m: self.message(m))
        self.substitute(MESSAGE_CHOICE, lambda m: self.choice(m))
        self.substitute(STRING_TWO, lambda m: self.two(m))
        self.substitute(STRING_VAR, lambda m: self.var(m))
        self.wrappers()
        return self.text

    def message(self, m):
        const = self.constant(m, "String", lit_value(m, "k"))
        return const and f"GetUiMessage({const})"

    def choice(self, m):
        a = self.constant(m, "String", lit_value(m, "a"))
        b = self.constant(m, "String", lit_value(m, "b"))
        return a and b and f"GetUiMessage({m.group('cond')} ? {a} : {b})"

    def two(self, m):
        const = self.constant(m, lit_value(m, "s"), lit_value(m, "k"))
        return const and f"GetUiString({const})"

    def var(self, m):
        section = self.section_of(m.group("var"), m.start())
        if section is None:
            self.fail(m.group(0), f"the section {m.group('var')} is not given a literal earlier in the file")
            return None
        self.used_sections.add(m.group("var"))
        const = self.constant(m, section, lit_value(m, "k"))
        return const and f"GetUiString({const})"

    def wrappers(self):
        for w in list(WRAPPER.finditer(self.text)):
            name = w.group("name")
            section = lit_value(w, "s") if (w.group("s") or w.group("s2")) else None
            if section is None:
                section = self.section_of(w.group("var"), w.start())
                if section is None:
                    self.fail(w.group("all"), f"the wrapper {name}'s section is not given a literal in the file")
                    continue
            call = re.compile(r"(?<![A-Za-z0-9_.>:])" + re.escape(name) + r"\(\s*\"(?P<k>" + NAME + r")\"\s*\)")
            self.substitute(call, lambda m, s=section: self.wrapped(m, s))
            self.drop_unused_wrapper(name, w.group("var"))

    def wrapped(self, m, section):
        const = self.constant(m, section, m.group("k"))
        return const and f"GetUiString({const})"

    def drop_unused_wrapper(self, name, var):
        w = next((w for w in WRAPPER.finditer(self.text) if w.group("name") == name), None)
        if w is None:
            return
        rest = self.text[: w.start()] + self.text[w.end():]
        if re.search(r"(?<![A-Za-z0-9_])" + re.escape(name) + r"\b", rest):
            return  # still called with something that is not a literal
        # An anonymous namespace that held only the wrapper goes with it.
        self.text = re.sub(r"\nnamespace \{\s*\} // namespace\n\n?", "\n", rest, count=1)
        if var:
            self.used_sections.add(var)

    def drop_unused_sections(self):
        """Removes a definition line of a section variable that nothing uses any more."""
        for var in self.used_sections:
            pattern = re.compile(
                r"^[ \t]*(?:static\s+)?(?:constexpr\s+|const\s+)*(?:QString|QLatin1String|auto|char\s*\*?\s*(?:const\s+)?)\s*"
                + re.escape(var) + r"\s*(?:\[\s*\])?\s*(?:=\s*|\(|\{)[^;\n]*;[ \t]*\n", re.M)
            for d in reversed(list(pattern.finditer(self.text))):
                end = scope_end(self.text, d.end())
                if not re.search(r"\b" + re.escape(var) + r"\b", self.text[d.end():end]):
                    self.text = self.text[: d.start()] + self.text[d.end():]


def scope_end(text, pos):
    """The end of the function or namespace a line at pos stands in: the next line that is a
    closing brace at the start of a line, or the end of the text."""
    m = re.compile(r"^\}", re.M).search(text, pos)
    return m.start() if m else len(text)


def leftover_literals(text):
    """Lookups whose key is still a literal, and lookups with a run-time key: [(pos, call, literal?)]."""
    out = []
    for m in re.finditer(r"\bGetUi(?:Message|String)\(", text):
        depth, i = 1, m.end()
        while i < len(text) and depth:
            if text[i] == "(":
                depth += 1
            elif text[i] == ")":
                depth -= 1
            elif text[i] == '"':
                j = text.find('"', i + 1)
                i = j if j > 0 else len(text)
            i += 1
        call = text[m.start():i]
        if "UiKey::" in call and '"' not in call:
            continue
        if '\\"' in call:
            continue  # a lookup quoted inside a string (a test's fixture), not code
        args = call[call.index("(") + 1: -1]
        parts = split_args(args)
        key_literal = '"' in (parts[-1] if parts else "")
        out.append((m.start(), " ".join(call.split()), key_literal))
    return out


def split_args(args):
    parts, depth, cur, i = [], 0, "", 0
    while i < len(args):
        c = args[i]
        if c == '"':
            j = args.find('"', i + 1)
            j = len(args) - 1 if j < 0 else j
            cur += args[i: j + 1]
            i = j + 1
            continue
        if c in "([{":
            depth += 1
        elif c in ")]}":
            depth -= 1
        if c == "," and depth == 0:
            parts.append(cur.strip())
            cur = ""
        else:
            cur += c
        i += 1
    if cur.strip():
        parts.append(cur.strip())
    return parts


def source_files(paths):
    for path in paths:
        full = os.path.join(ROOT, path) if not os.path.isabs(path) else path
        if os.path.isfile(full):
            yield full
            continue
        for dirpath, dirnames, filenames in os.walk(full):
            dirnames[:] = sorted(d for d in dirnames if not d.startswith("build") and d != "fixture")
            for name in sorted(filenames):
                if name.endswith((".cpp", ".h")):
                    yield os.path.join(dirpath, name)


def main():
    parser = argparse.ArgumentParser(description="Convert interface-text lookups to key constants.")
    parser.add_argument("--check", action="store_true", help="change nothing; exit 1 when work is left")
    parser.add_argument("--no-format", action="store_true", help="do not run clang-format on changed files")
    parser.add_argument("--runtime", action="store_true", help="also list lookups with run-time keys")
    parser.add_argument("--english", default=ENGLISH, help="the English language file")
    parser.add_argument("paths", nargs="*", default=DEFAULT_DIRS)
    args = parser.parse_args()

    keys = Keys(args.english)
    changed, problems, runtime = [], [], []
    for full in source_files(args.paths):
        rel = os.path.relpath(full, ROOT)
        if rel in SKIP:
            continue
        with open(full, encoding="utf-8") as f:
            before = f.read()
        conv = FileConverter(keys, rel, before)
        after = conv.convert()
        conv.drop_unused_sections()
        after = conv.text
        reported = set()
        searched = {}
        for call, why in conv.problems:
            # The place in the converted text: the next occurrence of the call as written.
            pos = after.find(call, searched.get(call, 0))
            searched[call] = pos + 1 if pos >= 0 else 0
            line = line_of(after, max(pos, 0))
            reported.add(line)
            problems.append(f"{rel}:{line}: cannot convert: {why}")
        for pos, call, literal in leftover_literals(after):
            line = line_of(after, pos)
            if literal and line not in reported:
                problems.append(f"{rel}:{line}: cannot convert: {call}")
            elif not literal:
                runtime.append(f"{rel}:{line}: run-time key: {call}")
        if after != before:
            changed.append((full, rel, after))

    for full, rel, after in changed:
        if args.check:
            print(f"{rel}: lookups to convert")
            continue
        with open(full, "w", encoding="utf-8") as f:
            f.write(after)
        print(f"{rel}: converted")
    if changed and not args.check and not args.no_format:
        formatter = shutil.which("clang-format")
        if formatter:
            subprocess.run([formatter, "-i"] + [full for full, _, _ in changed], check=False)
        else:
            print("clang-format not found: format the converted files before committing", file=sys.stderr)
    for p in problems:
        print(p)
    if args.runtime:
        for r in runtime:
            print(r)
    print(f"{len(changed)} file(s) {'to convert' if args.check else 'converted'}, "
          f"{len(problems)} lookup(s) to mend by hand, {len(runtime)} with run-time keys")
    return 1 if problems or (args.check and changed) else 0


if __name__ == "__main__":
    sys.exit(main())
