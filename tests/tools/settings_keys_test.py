#!/usr/bin/env python3
"""Fails when the text of a user-defaults key is declared in more than one place under src/.

A key is declared by a string constant whose name ends in "Key" (`fooKey = QStringLiteral("...")`,
`fooKey = u"..."_s`) or by a literal handed straight to a call in a file that reads or writes
the user defaults. A constant counts as a user-defaults key when such a file names it:
`defaults.integer(fooKey, 5)`, `storeFinite(fooKey, value)`, `for (key : { aKey, bKey })`.
Each key must have one owner, which declares its text once, with its fallback and range.
"""

import pathlib
import re
import sys

STRING = r'(?:QStringLiteral\(\s*|QLatin1String\(\s*|QString::fromUtf8\(\s*)?u?"((?:[^"\\]|\\.)*)"'
DECLARATION = re.compile(r'\b(\w+Key)\s*(?:=\s*|\{\s*|\(\s*)' + STRING)
KEY_NAME = re.compile(r'\b(\w+Key)\b')
CALLS = r'contains|value|string|integer|real|boolean|list|stringList|map|data|setValue|setValueAndSynchronize|remove'
LITERAL_ARGUMENT = re.compile(r'\.(?:' + CALLS + r')\(\s*' + STRING)
# Keys every scan must find: a scan that finds none of them is broken, not clean.
KNOWN = {"MaxExchangeRateDecimals", "nwGoalAmount", "NWFilterIDArrayKey", "SelectedAppearance"}


def without_comments(text):
    # Block comments keep their line breaks, so that places keep their line numbers.
    text = re.sub(r'/\*.*?\*/', lambda comment: '\n' * comment.group(0).count('\n'), text, flags=re.S)
    return re.sub(r'^[ \t]*//.*$', '', text, flags=re.M)


def main(source_root):
    files = {}
    for path in sorted(pathlib.Path(source_root).rglob('*')):
        if path.suffix in ('.h', '.cpp'):
            files[path] = without_comments(path.read_text(encoding='utf-8'))

    using_defaults = [text for text in files.values() if 'UserDefaults' in text]
    key_names = set()
    for text in using_defaults:
        key_names.update(KEY_NAME.findall(text))

    places = {}
    for path, text in files.items():
        for number, line in enumerate(text.splitlines(), 1):
            where = f'{path.relative_to(source_root)}:{number}'
            for name, key in DECLARATION.findall(line):
                if name in key_names:
                    places.setdefault(key, []).append(where)
            if 'UserDefaults' in text:
                for key in LITERAL_ARGUMENT.findall(line):
                    places.setdefault(key, []).append(where)

    missing = KNOWN - places.keys()
    if missing:
        print('the scan did not find the keys ' + ', '.join(sorted(missing)) + '; is it still reading src/?')
        return 1
    duplicates = {key: where for key, where in places.items() if len(where) > 1}
    for key, where in sorted(duplicates.items()):
        print(f'"{key}" is declared {len(where)} times: ' + ', '.join(where))
    print(f'{len(places)} user-defaults keys, {len(duplicates)} declared more than once')
    return 1 if duplicates else 0


if __name__ == '__main__':
    sys.exit(main(pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else 'src')))
