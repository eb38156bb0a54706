"""Prints what a screen reader sees of one program through at-spi: each node of its windows, one
line each, as depth|role|name|description|visible (visible: 1 or 0).

    a11y_tree.py PROGRAM [--press NAME]

Waits up to 20 seconds for the program to show a window. With --press, the push button of that
name is pressed first (a modal window it opens is waited for), as a screen reader would press it.
Exits 77 where pyatspi is missing, 1 when the program never shows up.
"""
import sys
import time

try:
    import pyatspi
except ImportError:
    print("python3-pyatspi is not installed", file=sys.stderr)
    sys.exit(77)


def find_program(name):
    for program in pyatspi.Registry.getDesktop(0):
        if program is not None and program.name == name and program.childCount > 0:
            return program
    return None


def wait_for(condition, seconds=20):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = condition()
        if found:
            return found
        time.sleep(0.2)
    return None


def nodes(node, depth=0):
    yield depth, node
    for child in node:
        if child is not None:
            yield from nodes(child, depth + 1)


def press(program, name):
    for _, node in nodes(program):
        if node.getRoleName() == "push button" and node.name == name:
            node.queryAction().doAction(0)
            return True
    return False


def main():
    program = wait_for(lambda: find_program(sys.argv[1]))
    if program is None:
        print("no program named %s on the accessibility bus" % sys.argv[1], file=sys.stderr)
        return 1
    if len(sys.argv) > 3 and sys.argv[2] == "--press":
        windows = program.childCount
        if not press(program, sys.argv[3]):
            print("no push button named %s" % sys.argv[3], file=sys.stderr)
            return 1
        wait_for(lambda: program.childCount > windows)
    for depth, node in nodes(program):
        if depth == 0:
            continue
        visible = node.getState().contains(pyatspi.STATE_VISIBLE)
        fields = [str(depth), node.getRoleName(), node.name, node.description, str(int(visible))]
        print("|".join(field.replace("|", "/").replace("\n", " ") for field in fields))
    return 0


if __name__ == "__main__":
    sys.exit(main())
