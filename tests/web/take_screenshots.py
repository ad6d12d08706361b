"""Takes a screenshot of every page of the web page, and of its boxes, at 100
and 200 %, walking through an update over the in-page fake MIDI; each is
reduced to 128 colours with ImageMagick to stay small.

usage: take_screenshots.py <build folder> <site folder> <output folder>"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import browser  # noqa: E402
from page_harness import Page  # noqa: E402


def main():
    build, site, output = sys.argv[1:4]
    os.makedirs(output, exist_ok=True)
    with browser.Lab(build, site) as lab:
        page = Page(lab, fake={'inputs': 1, 'outputs': 1, 'at': [0, 0]})
        walk(page, lambda name: shoot(page, output, name))
    with browser.Lab(build, site) as lab:
        page = Page(lab, fake={'inputs': 1, 'outputs': 1, 'at': None})
        for _ in range(5):
            page.key('Enter')
        page.wait(lambda: page.state()['box'] == 'error-box', 10, 'the not-found box opens')
        shoot(page, output, 'not-found')


def shoot(page, output, name):
    for scale in (1, 2):
        path = os.path.join(output, f'{name}{"-200" if scale == 2 else ""}.png')
        page.screenshot(path, scale)
        subprocess.run(['convert', path, '-strip', '-colors', '128', 'PNG8:' + path], check=True)


def walk(page, shoot):
    shoot('page0-welcome')
    page.key('F10', shift=True)
    page.key('Enter')
    page.wait(lambda: page.state()['box'] == 'about-box', 5, 'the about box opens')
    shoot('about')
    page.key('Escape')
    for number in range(1, 5):
        page.key('Enter')
        page.wait(lambda: page.state()['step'] == f'Step {number}.', 5, f'page {number} is shown')
        shoot(f'page{number}')
    page.key('Enter')
    page.wait(lambda: page.state()['step'] == 'Step 5.', 10, 'the device is found')
    shoot('page5-found')
    page.key('Enter')
    page.wait(lambda: page.js('return vt5150Fake.device.commands') > 10000, 60, 'the transfer is under way')
    shoot('page6-progress')
    page.wait(lambda: page.state()['step'] == 'Step 7.', 60, 'the update is complete')
    shoot('page7-finished')


main()
