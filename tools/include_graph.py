#!/usr/bin/env python3
"""Prints which folders of the engine and the game include which, and where the layers break.

    python3 tools/include_graph.py                 # folder graph, then the upward includes
    python3 tools/include_graph.py --files         # the same, each edge with its include lines
    python3 tools/include_graph.py --dot deps.dot  # also writes the graph for Graphviz
    python3 tools/include_graph.py --check         # exit status 1 when an include goes upward

Runs from any folder: the repository is found from this file's place (tools/ in it).

Every engine/<folder>/ and game/ file ending in .h or .cpp is read for `#include "..."` lines.
A quoted include is found as the compiler finds it: next to the including file first, then
under engine/ and game/ (the include directories CMakeLists.txt gives the two libraries), so
"core/Window.h" is engine/core/Window.h and "enemies/EnemyBuilders.h" is
game/enemies/EnemyBuilders.h. Includes that are in neither tree (rapidjson, SDL, <...>) are not
part of the graph. Lines are matched as text: an include inside a comment or an `#if 0` counts.

The layers, lowest first, are LAYERS below. A file may include its own folder, its own layer
and any layer below; an include into a higher layer is an "upward include", and --check fails
on it so that the untangling cannot slide back once it is done.

The four systems (physics, graphics, script, ai) share one layer and may include each other.
Today only script and ai do, and only to use a service another system offers: the raycast of
physics/Raycast.h, the camera's pixel scale of graphics/CameraSystem.h, the layer framebuffers
and the lighting switch of the GraphicsSystem. Physics and graphics include neither script nor
ai. Forbidding those includes would push such queries out of the system that owns the data they
read, for no gain in what can be built or tested alone.

Exit status: 0, or 1 with --check when there is an upward include or an include from or into a
folder that LAYERS does not list (it cannot be judged until the folder has a layer).
"""
import argparse
import re
import sys
from collections import defaultdict
from pathlib import Path

# Lowest first. Folders in one entry are siblings of one layer.
LAYERS = [
    (("core",), "window, input, time, log, worker pool and the system base: what everything stands on"),
    (("resource",), "textures, meshes, shaders, fonts, sounds and scripts, shared by file name"),
    (("ecs",), "entities, their components as data, and the scene that lists them for its systems"),
    (("physics", "graphics", "script", "ai"), "the systems: each steps the components registered with it"),
    (("scene",), "the engine: the frame loop, a scene's systems assembled, scene and prefab files read"),
    (("game",), "Corvalune itself: its entry point and its enemies' behaviour trees"),
]

REPO = Path(__file__).resolve().parent.parent
ROOTS = ("engine", "game")  # include directories, in the order the game's compile line gives them
SOURCE_SUFFIXES = (".h", ".cpp")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')

LAYER_OF = {folder: rank for rank, (folders, _) in enumerate(LAYERS) for folder in folders}


def folder_of(path):
    """The graph folder of a repository-relative path: engine/<folder>/... or game."""
    parts = path.parts
    if parts[0] == "game":
        return "game"
    if len(parts) > 2:
        return parts[1]
    return "engine/"  # a file straight under engine/ belongs to no folder, so to no layer


def source_files():
    files = []
    for root in ROOTS:
        for path in sorted((REPO / root).rglob("*")):
            if path.is_file() and path.suffix in SOURCE_SUFFIXES:
                files.append(path.relative_to(REPO))
    return files


def resolve(including, name):
    """The repository-relative path of a quoted include, or None outside engine/ and game/."""
    for base in [REPO / including.parent] + [REPO / root for root in ROOTS]:
        candidate = (base / name).resolve()
        if candidate.is_file():
            try:
                return candidate.relative_to(REPO)
            except ValueError:
                return None  # ../ out of the repository
    return None


def scan():
    """Every project include as (file, line number, text as written, included file)."""
    includes = []
    for path in source_files():
        with open(REPO / path, encoding="utf-8", errors="replace") as source:
            for number, line in enumerate(source, start=1):
                match = INCLUDE.match(line)
                if match is None:
                    continue
                target = resolve(path, match.group(1))
                if target is not None and target.parts[0] in ROOTS:
                    includes.append((path, number, match.group(1), target))
    return includes


def is_upward(source, target):
    """A folder without a layer is reported apart, never as upward."""
    return source in LAYER_OF and target in LAYER_OF and LAYER_OF[source] < LAYER_OF[target]


def edge_order(edge):
    """Lowest source layer first, then by target layer, then by name."""
    source, target = edge
    return (LAYER_OF.get(source, len(LAYERS)), source, LAYER_OF.get(target, len(LAYERS)), target)


def write_dot(path, edges):
    lines = ["digraph includes {", "  rankdir=BT;", '  node [shape=box, fontname="sans-serif"];']
    for rank, (folders, _) in enumerate(LAYERS):
        names = " ".join(f'"{folder}";' for folder in folders)
        lines.append(f"  {{ rank=same; {names} }}  // layer {rank}")
    for (source, target), found in sorted(edges.items(), key=lambda item: edge_order(item[0])):
        if source == target:
            continue
        style = ", color=red, fontcolor=red, penwidth=2" if is_upward(source, target) else ""
        lines.append(f'  "{source}" -> "{target}" [label="{len(found)}"{style}];')
    lines.append("}")
    Path(path).write_text("\n".join(lines) + "\n", encoding="utf-8")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--files", action="store_true", help="list the include lines of every edge")
    parser.add_argument("--dot", metavar="FILE", help="also write the folder graph as Graphviz DOT")
    parser.add_argument("--check", action="store_true", help="exit 1 when there is an upward include")
    args = parser.parse_args()

    includes = scan()
    edges = defaultdict(list)  # (source folder, target folder) -> [(file, line, text)]
    unlisted = set()
    for path, number, text, target in includes:
        source, into = folder_of(path), folder_of(target)
        for folder in (source, into):
            if folder not in LAYER_OF:
                unlisted.add(folder)
        edges[(source, into)].append((path, number, text))

    print("Layers, lowest first:")
    for rank, (folders, reason) in enumerate(LAYERS):
        print(f"  {rank}  {', '.join(folders):<30} {reason}")

    crossing = {edge: found for edge, found in edges.items() if edge[0] != edge[1]}
    print(f"\nFolder to folder includes ({len(crossing)} edges, "
          f"{sum(len(found) for found in crossing.values())} includes):")
    for edge in sorted(crossing, key=edge_order):
        source, target = edge
        mark = "  upward" if is_upward(source, target) else ""
        print(f"  {source:>8} -> {target:<8} {len(crossing[edge]):4}{mark}")
        if args.files:
            for path, number, text in crossing[edge]:
                print(f"             {path.as_posix()}:{number} -> {text}")
    within = sorted((edge for edge in edges if edge[0] == edge[1]), key=edge_order)
    print("Within a folder: " + ", ".join(f"{edge[0]} {len(edges[edge])}" for edge in within))

    upward = {edge: found for edge, found in crossing.items() if is_upward(*edge)}
    print("\nUpward includes (a lower layer including a higher one):")
    for edge in sorted(upward, key=edge_order):
        for path, number, text in upward[edge]:
            print(f"  {path.as_posix()}:{number} -> {text}")
    print("\nUpward includes by folder pair:")
    for edge in sorted(upward, key=edge_order):
        print(f"  {edge[0]:>8} -> {edge[1]:<8} {len(upward[edge]):4}")
    total = sum(len(found) for found in upward.values())
    print(f"Total upward includes: {total}")

    for folder in sorted(unlisted):
        print(f"warning: folder {folder} has no layer in LAYERS; its includes are not judged",
              file=sys.stderr)

    if args.dot:
        write_dot(args.dot, edges)
    return 1 if args.check and (total > 0 or unlisted) else 0


if __name__ == "__main__":
    sys.exit(main())
