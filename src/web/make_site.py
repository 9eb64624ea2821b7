#!/usr/bin/env python3
"""Lays out the page's site and writes its single-file copy.

site/: the page's own files (web/*.html, *.js, *.css), the module
(rrensen.mjs and rrensen.wasm) and the examples (site/examples/, listed in
site/examples/index.json).

rrensen.html: the same page in one file that opens from disk without a
server: the style sheet inlined, and one module script made of the module
with its WebAssembly inlined (SINGLE_FILE) followed by the page's modules in
the order index.html lists them in its "module-order" comment. The page's
modules follow two rules so that they can share one script: each import is
one line of its own ("import { a } from './b.js';"), and no two modules
declare the same top-level name. Both are checked here. The examples ride
along as base64 in a JSON script element.
"""

import argparse
import base64
import json
import os
import re
import shutil
import sys

IMPORT = re.compile(r"^import .* from '\./[\w.-]+';$")
EXPORT = re.compile(r"^export (?=(async )?function|const|let|class)")
DECLARATION = re.compile(r"^(?:export )?(?:async )?(?:function\*?|const|let|class)\s+([A-Za-z_$][\w$]*)")


def fail(message):
    sys.exit("make_site.py: " + message)


def inline_module(text, name, declared):
    """The module's text as part of the one script: its imports dropped, its
    exports made plain declarations."""
    lines = []
    for number, line in enumerate(text.splitlines(), 1):
        if line.startswith("import "):
            if not IMPORT.match(line):
                fail(f"{name}:{number}: an import must be one line, from './file.js'")
            continue
        if re.match(r"^export default \w+;$", line):
            continue
        match = DECLARATION.match(line)
        if match:
            if match.group(1) in declared:
                fail(f"{name}:{number}: '{match.group(1)}' is declared in {declared[match.group(1)]} too")
            declared[match.group(1)] = name
        lines.append(EXPORT.sub("", line))
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--page", required=True)
    parser.add_argument("--module", required=True)
    parser.add_argument("--single-module", required=True)
    parser.add_argument("--site", required=True)
    parser.add_argument("--single-file", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("examples", nargs="*")
    args = parser.parse_args()

    if os.path.isdir(args.site):
        shutil.rmtree(args.site)
    os.makedirs(os.path.join(args.site, "examples"))
    page_files = sorted(f for f in os.listdir(args.page)
                        if f.endswith((".html", ".js", ".css")))
    for name in page_files:
        shutil.copyfile(os.path.join(args.page, name), os.path.join(args.site, name))
    module_dir = os.path.dirname(args.module)
    shutil.copyfile(args.module, os.path.join(args.site, "rrensen.mjs"))
    shutil.copyfile(os.path.join(module_dir, "rrensen.wasm"),
                    os.path.join(args.site, "rrensen.wasm"))
    names = []
    for path in args.examples:
        name = os.path.basename(path)
        shutil.copyfile(path, os.path.join(args.site, "examples", name))
        names.append(name)
    with open(os.path.join(args.site, "examples", "index.json"), "w") as out:
        json.dump(names, out)

    # The single file.
    with open(os.path.join(args.page, "index.html"), encoding="utf-8") as f:
        html = f.read()
    order = re.search(r"<!-- module-order: ([^>]*) -->", html)
    if not order:
        fail("index.html has no module-order comment")
    declared = {}
    with open(args.single_module, encoding="utf-8") as f:
        parts = [inline_module(f.read(), "rrensen.mjs", {})]
    for name in order.group(1).split():
        with open(os.path.join(args.page, name), encoding="utf-8") as f:
            parts.append(inline_module(f.read(), name, declared))
    script = "\n".join(parts)
    with open(os.path.join(args.page, "style.css"), encoding="utf-8") as f:
        style = f.read()
    examples = {}
    for path in args.examples:
        with open(path, "rb") as f:
            examples[os.path.basename(path)] = base64.b64encode(f.read()).decode("ascii")
    embedded = json.dumps(examples)
    for text, what in ((script, "the script"), (style, "the style sheet")):
        if re.search(r"</(script|style)", text, re.IGNORECASE):
            fail(what + " holds a closing tag and cannot be inlined")

    # The modules are all in the one script: nothing to fetch ahead.
    html = re.sub(r'<link rel="modulepreload" href="[^"]*">\n', "", html)
    single, count = re.subn(r'<link rel="stylesheet" href="style.css">',
                            lambda m: "<style>\n" + style + "</style>", html)
    if count != 1:
        fail("index.html must link style.css once")
    single, count = re.subn(
        r'<script type="module" src="main.js"></script>',
        lambda m: ('<script type="application/json" id="embedded-examples">' + embedded +
                   "</script>\n<script type=\"module\">\n" + script + "\n</script>"),
        single)
    if count != 1:
        fail("index.html must load main.js once")
    with open(args.single_file, "w", encoding="utf-8") as out:
        out.write(single)


if __name__ == "__main__":
    main()
