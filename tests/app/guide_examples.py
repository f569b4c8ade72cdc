#!/usr/bin/env python3
"""Runs every example of the guide marked as runnable, so the guide cannot drift from the program.

In a Markdown file of docs/, a fenced block right after
  <!-- runnable: file NAME -->  is written to NAME in the example directory;
  <!-- runnable -->             is run by sh -e there, with vexa-batch and vexa-dict on the PATH;
  <!-- output -->               must equal the standard output of the runnable block before it.
Each Markdown file runs in its own directory with a fresh Vexa home, block after block.
Usage: guide_examples.py BIN_DIR SOURCE_DIR
"""
import os
import re
import subprocess
import sys
import tempfile

MARKER = re.compile(r"^<!-- (runnable(?:: file (\S+))?|output) -->\s*$")


def blocks(path):
    """The marked fenced blocks of a file: (kind, name, text, line number)."""
    lines = open(path, encoding="utf-8").read().split("\n")
    i = 0
    while i < len(lines):
        match = MARKER.match(lines[i])
        if not match:
            i += 1
            continue
        start = i + 1
        if start >= len(lines) or not lines[start].startswith("```"):
            raise SystemExit(f"{path}:{i + 1}: a marker must be followed by a fenced block")
        end = start + 1
        while end < len(lines) and lines[end] != "```":
            end += 1
        text = "\n".join(lines[start + 1:end]) + "\n"
        kind = "output" if match.group(1) == "output" else ("file" if match.group(2) else "run")
        yield kind, match.group(2), text, i + 1
        i = end + 1


def main():
    bin_dir, source_dir = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    docs = os.path.join(source_dir, "docs")
    failures = 0
    runs = 0
    for name in sorted(os.listdir(docs)):
        if not name.endswith(".md"):
            continue
        path = os.path.join(docs, name)
        with tempfile.TemporaryDirectory() as work:
            env = dict(os.environ)
            env["PATH"] = bin_dir + os.pathsep + env["PATH"]
            env["VEXA_HOME"] = os.path.join(work, "home")
            env.pop("VEXA_SHARE", None)
            last_output = None
            for kind, file_name, text, line in blocks(path):
                where = f"{name}:{line}"
                if kind == "file":
                    with open(os.path.join(work, file_name), "w", encoding="utf-8") as out:
                        out.write(text)
                elif kind == "run":
                    runs += 1
                    result = subprocess.run(["sh", "-e", "-c", text], cwd=work, env=env,
                                            capture_output=True, text=True, timeout=60)
                    last_output = result.stdout
                    if result.returncode != 0:
                        failures += 1
                        print(f"FAIL {where}: exit {result.returncode}\n{result.stdout}{result.stderr}")
                elif last_output is None:
                    failures += 1
                    print(f"FAIL {where}: an output block without a runnable block before it")
                elif last_output != text:
                    failures += 1
                    print(f"FAIL {where}: the output differs\n--- expected\n{text}--- got\n{last_output}")
    if runs == 0:
        print("FAIL: no runnable example found in docs/")
        failures += 1
    if failures:
        print(f"{failures} failure(s)")
        return 1
    print(f"all {runs} runnable examples of the guide passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
