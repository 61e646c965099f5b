#!/usr/bin/env python3
"""Checks that includes between the folders of src/ run one way.

Layers, lowest first: platform, controls, shared, formats (readers of outside bytes),
the subsystems, app; cli sits on
the logic. Rules:
  - only src/app/ includes app/;
  - no logic file (outside a gui/ folder) includes a gui/ header, apart from the
    programs' main.cpp;
  - platform includes only itself; controls only itself and platform; shared only
    itself, controls and platform; formats only itself and those three;
  - a subsystem's widgets are its own: a gui/ header of one subsystem is included only
    by that subsystem and by app (platform/gui and controls/gui serve everyone);
  - no two folders of src/ include each other, directly or round a longer circle;
  - inside view/, each kind of viewer (text, picture, media, table, fonts, report)
    includes only itself and what the viewers share in view/ itself; view/ itself
    includes none of them; only view/window/ (and folders above view) sees them all.
Usage: check_layers.py SRC_DIR. Prints each breach and exits 1 when there is one.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
BASE_ALLOWED = {
    "platform": {"platform"},
    "controls": {"controls", "platform"},
    "shared": {"shared", "controls", "platform"},
    "formats": {"formats", "shared", "controls", "platform"},
}
SHARED_GUI = {"platform", "controls"}
PROGRAM_MAINS = {"app/main.cpp", "cli/main.cpp"}
VIEW_KINDS = {"text", "picture", "media", "table", "fonts", "report"}
VIEW_WINDOW = "window"


def view_part(path):
    """The part of view/ that a path lies in: a kind, "window", or "" for view/ itself."""
    parts = path.split("/")
    if len(parts) > 2 and parts[1] in VIEW_KINDS | {VIEW_WINDOW}:
        return parts[1]
    return ""


def view_breach(rel, inc):
    """Why an include between two parts of view/ runs the wrong way, or None."""
    here, there = view_part(rel), view_part(inc)
    if here == there or here == VIEW_WINDOW:
        return None
    if here == "":
        return f"{rel}: view/ includes {inc}; only view/window/ sees the viewers"
    if there != "":
        return f"{rel}: the {here} viewer includes {inc}; a viewer sees only its own kind and view/"
    return None


def includes(src):
    """(file relative to src, included path) for every quoted include of a src folder."""
    for folder, _, files in os.walk(src):
        for name in files:
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(folder, name)
            rel = os.path.relpath(path, src).replace(os.sep, "/")
            with open(path, encoding="utf-8", errors="replace") as f:
                for line in f:
                    m = INCLUDE.match(line)
                    if m and "/" in m.group(1):
                        yield rel, m.group(1)


def cycles(edges):
    """The strongly connected groups of more than one folder (Tarjan)."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []

    def visit(v):
        index[v] = low[v] = len(index)
        stack.append(v)
        on_stack.add(v)
        for w in sorted(edges.get(v, ())):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            group = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                group.append(w)
                if w == v:
                    break
            if len(group) > 1:
                found.append(sorted(group))

    for v in sorted(edges):
        if v not in index:
            visit(v)
    return found


def breaches(src):
    found = []
    edges = {}
    for rel, inc in includes(src):
        top = rel.split("/")[0]
        target = inc.split("/")[0]
        if not os.path.isdir(os.path.join(src, target)):
            continue  # a library header such as <gtest/...> written with quotes
        in_gui = "/gui/" in "/" + rel
        if target == "app" and top != "app":
            found.append(f"{rel}: includes {inc}; only app/ may include app/")
        if "/gui/" in "/" + inc and not in_gui and rel not in PROGRAM_MAINS:
            found.append(f"{rel}: a logic file includes the widget header {inc}")
        if top in BASE_ALLOWED and target not in BASE_ALLOWED[top]:
            found.append(f"{rel}: {top}/ may include only {', '.join(sorted(BASE_ALLOWED[top]))}; "
                         f"it includes {inc}")
        if ("/gui/" in "/" + inc and target not in SHARED_GUI | {"app", top}
                and top != "app"):
            found.append(f"{rel}: uses another subsystem's widget {inc}")
        if top == "view" and target == "view":
            breach = view_breach(rel, inc)
            if breach:
                found.append(breach)
        if target != top:
            edges.setdefault(top, set()).add(target)
    for group in cycles(edges):
        found.append("folders include each other: " + " <-> ".join(group))
    return found


def main():
    if len(sys.argv) != 2:
        print("usage: check_layers.py SRC_DIR", file=sys.stderr)
        return 2
    found = breaches(sys.argv[1])
    for line in found:
        print(line)
    if found:
        print(f"{len(found)} layering breach(es)")
        return 1
    print("layering: every include runs one way")
    return 0


if __name__ == "__main__":
    sys.exit(main())
