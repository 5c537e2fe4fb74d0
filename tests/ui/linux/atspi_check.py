"""What a screen reader sees of the running Linux program, over AT-SPI.

Usage: atspi_check.py PROGRAM_NAME LANGUAGE (en or ja). The program (marlox-demo, whose simulated
controller is protected and answers the Tarvex inquiries only) must be running with accessibility
on. Presses TEST through the button's action, then checks that each result field is named by its
caption, which labels it, reads its value through the text interface and its tip as description.
"""
import sys
import time

import pyatspi

EXPECTED = {
    "en": {"test": "TEST", "no_respond": "No respond", "protected": "Protected",
           "port": "COM Port", "engine_code": "E7TX0421", "version": "V3.02"},
    "ja": {"test": "テスト", "no_respond": "応答なし", "protected": "あり",
           "port": "通信ポート", "engine_code": "E7TX0421", "version": "V3.02"},
}


def wait_for(condition, seconds=15):
    end = time.time() + seconds
    while time.time() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.2)
    return condition()


def application(name):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == name:
            return app
    return None


def descendants(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield child
            yield from descendants(child)


def related(node, relation):
    for rel in node.getRelationSet():
        if rel.getRelationType() == relation:
            return [rel.getTarget(i) for i in range(rel.getNTargets())]
    return []


def text_of(node):
    try:
        text = node.queryText()
    except NotImplementedError:
        return None
    return text.getText(0, -1)


def main():
    program, language = sys.argv[1], sys.argv[2]
    want = EXPECTED[language]
    failures = []

    def check(ok, what):
        if not ok:
            failures.append(what)

    app = wait_for(lambda: application(program))
    if app is None:
        sys.exit(f"{program} is not on the accessibility bus")
    nodes = wait_for(lambda: [n for n in descendants(app)
                              if n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == want["test"]])
    if not nodes:
        sys.exit(f"no {want['test']} button")
    test_button = nodes[0]

    fields = [n for n in descendants(app)
              if n.getRole() == pyatspi.ROLE_LABEL and text_of(n) is not None]
    check(len(fields) == 5, f"{len(fields)} result fields, not 5")
    for field in fields:
        captions = related(field, pyatspi.RELATION_LABELLED_BY)
        check(len(captions) == 1, f"field {field.name!r} has {len(captions)} captions")
        if captions:
            caption = captions[0]
            check(field.name == caption.name, f"field named {field.name!r}, caption {caption.name!r}")
            check(field in related(caption, pyatspi.RELATION_LABEL_FOR),
                  f"caption {caption.name!r} does not label its field")
        check(field.description != "", f"field {field.name!r} has no description (its tip)")
    combo = [n for n in descendants(app) if n.getRole() == pyatspi.ROLE_COMBO_BOX]
    check(len(combo) == 1 and [c.name for c in related(combo[0], pyatspi.RELATION_LABELLED_BY)]
          == [want["port"]], "the port list is not labelled by its caption")

    action = test_button.queryAction()
    action.doAction(0)
    values = wait_for(lambda: (lambda v: v if all(v) else None)([text_of(f) for f in fields]))
    values = [text_of(f) for f in fields]
    check(all(values), f"fields still empty after TEST: {values}")
    expected = sorted([want["engine_code"], want["version"], want["protected"],
                       want["no_respond"], want["no_respond"]])
    check(sorted(values) == expected, f"values {sorted(values)}, expected {expected}")

    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(fields)} fields checked, values {values}")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
