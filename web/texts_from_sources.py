#!/usr/bin/python3
"""Writes the web page's texts module: the error boxes' messages and the about
box's title and lines, taken from the desktop program's sources and the
product facts that the build generated, so that each text stays written once.

usage: texts_from_sources.py <checkout> <ProductFacts.h> <texts.js>"""

import json
import re
import sys

LITERAL = r'"(?:[^"\\]|\\.)*"'
TERM = r'(?:juce::String\s*\(\s*)?(?:' + LITERAL + r'|ProductFacts::\w+)\s*\)?'
CHAIN = TERM + r'(?:\s*\+\s*' + TERM + r')*'


def unquote(literal):
    return json.loads(literal)


def literals(expression):
    return ''.join(unquote(part) for part in re.findall(LITERAL, expression))


def evaluate(expression, facts):
    """The value of a chain of literals and product facts joined by +."""
    parts = re.findall(LITERAL + r'|ProductFacts::\w+', expression)
    return ''.join(facts[p.split('::')[1]] if p.startswith('ProductFacts') else unquote(p) for p in parts)


def fail(why):
    sys.exit('texts_from_sources.py: ' + why)


def one(pattern, source, what):
    """The literal that the pattern's group captures, found exactly once."""
    found = re.findall(pattern, source)
    if len(found) != 1:
        fail(what + ' was not found once')
    return unquote(found[0])


def window_texts(window, error_box, picture):
    return {'next': one(r'nextName \((' + LITERAL + r')\)', window, 'the Next caption'),
            'previous': one(r'previousName \((' + LITERAL + r')\)', window, 'the Previous caption'),
            'finish': one(r'lastPage \? (' + LITERAL + r')', window, 'the Finish caption'),
            'nextTip': one(r'nextName, (' + LITERAL + r')', window, 'the Next tooltip'),
            'previousTip': one(r'previousName, (' + LITERAL + r')', window, 'the Previous tooltip'),
            'errorTitle': one(r'ErrorBox::title = (' + LITERAL + r')', error_box, 'the error title'),
            'ok': one(r'message, (' + LITERAL + r')', error_box, 'the OK caption'),
            'about': one(r'addItem \(aboutItem, (' + LITERAL + r')\)', picture, 'the About menu item'),
            'picture': one(r'accessibleTitle = (' + LITERAL + r')', picture, 'the picture\'s title')}


def box_messages(source):
    found = dict(re.findall(r'UpdaterWindow::(\w+Message)\s*=\s*((?:' + LITERAL + r'\s*)+);', source))
    if set(found) != {'deviceNotFoundMessage', 'transferErrorMessage'}:
        fail('the two box messages were not found in ui/UpdaterWindow.cpp')
    return {name: literals(value) for name, value in found.items()}


def about_box(source, facts):
    title = re.search(r'ModalDialog\s*\(\s*(' + CHAIN + r')\s*,', source)
    lines = re.findall(r'addLabel\s*\(\s*(?:\{\}|' + LITERAL + r')\s*,\s*(' + CHAIN + r')\s*,', source)
    if title is None or len(lines) != 4:
        fail('the about box\'s title and four lines were not found in ui/AboutBox.cpp')
    return {'title': evaluate(title.group(1), facts), 'lines': [evaluate(line, facts) for line in lines]}


def main():
    checkout, facts_header, output = sys.argv[1:4]
    read = lambda path: open(path, encoding='utf-8').read()
    facts = {name: unquote(value) for name, value in
             re.findall(r'constexpr const char\* (\w+) = (' + LITERAL + r');', read(facts_header))}
    window = read(checkout + '/ui/UpdaterWindow.cpp')
    texts = {'window': window_texts(window, read(checkout + '/ui/ErrorBox.cpp'),
                                    read(checkout + '/ui/BackgroundPicture.cpp')),
             'boxes': box_messages(window),
             'about': about_box(read(checkout + '/ui/AboutBox.cpp'), facts),
             'applicationName': facts['applicationName']}
    with open(output, 'w', encoding='utf-8') as out:
        out.write('// Generated from the program\'s sources by web/texts_from_sources.py; do not edit.\n')
        out.write('export const texts = ' + json.dumps(texts, indent=2) + ';\n')


main()
