#!/usr/bin/env python3
"""Fails when an include of the plug-in's sources points up the layers.

The layers, from the floor up; a file may include its own layer and the ones below it:
  0  include/ (the public header) and resources/ (resource ids)
  1  model floor: the core/ files named in FLOOR (model profile, cartridge rules, devmode section,
     platform records, stack guard, resource owners, text buffer room, the desktop check)
  2  state/   3  jobs/   4  ui/   5  setup/
  6  the COM roof: every other core/ file (class factory, plug-in object, item adjustments,
     exports, DLL entry)
  check-layers.py SOURCE_DIR        (SOURCE_DIR: drivers/system/zvaa)
"""
import os
import re
import sys

FLOOR = {"ModelProfile", "CartridgeRules", "OemPrivateDevmode", "PlatformRecords", "StackGuard", "Owned", "TextBuffers",
         "Desktop"}
FOLDERS = {"include": 0, "resources": 0, "state": 2, "jobs": 3, "ui": 4, "setup": 5}
NAMES = {0: "include/resources", 1: "model floor", 2: "state", 3: "jobs", 4: "ui", 5: "setup", 6: "COM roof"}


def layer(relative):
    folder, _, name = relative.partition("/")
    if folder == "core":
        return 1 if os.path.splitext(name)[0] in FLOOR else 6
    return FOLDERS.get(folder)


def main(root):
    include = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
    wrong = []
    for folder in ("core", "state", "jobs", "ui", "setup", "include", "resources"):
        for name in sorted(os.listdir(os.path.join(root, folder))):
            if not name.endswith((".cpp", ".h")):
                continue
            source = folder + "/" + name
            with open(os.path.join(root, source), encoding="utf-8") as text:
                for number, line in enumerate(text, 1):
                    match = include.match(line)
                    if not match:
                        continue
                    target = match.group(1)
                    if "/" not in target:  # the public header, found through include/
                        target = "include/" + target
                    if layer(target) is None:
                        continue
                    if layer(target) > layer(source):
                        wrong.append("%s:%d includes %s: %s above %s" % (
                            source, number, match.group(1), NAMES[layer(target)], NAMES[layer(source)]))
    for line in wrong:
        print(line)
    if not wrong:
        print("layers: every include points down or sideways")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
