#!/usr/bin/python3
"""The Word and roster exports as other programs see them.

LibreOffice lays each exported .docx out as our own PDF prints it,
python-docx finds a table a page, every text in its cell, and can edit a cell without
moving the others, and LibreOffice's CSV of the roster workbook equals our
own CSV; openpyxl sees text cells and the frozen header; a damaged document
is listed apart and fails the run.

Usage: exchange_test.py PROGRAM SOURCE_DIR WORK_DIR
"""
import csv
import html
import os
import re
import shutil
import subprocess
import sys
import time

import docx
import openpyxl

MM = 72 / 25.4                # PDF points per millimetre
TOLERANCE = 2 * MM            # how far LibreOffice may place a line from ours
REQUIRED_SHARE = 98.0         # per cent of our lines LibreOffice must place so
PICTURE_DIFFERENCE = 20      # mean grey difference in the photo's frame (a whole photo: ~8)
SAME_LINE = 2.0               # words this close in yMin (points) share a line
DOCUMENTS = ['typical.dwz', 'long_resume.dwz', 'long_posts.dwz', 'older.ren']
EDITED_NAME = '欧阳建国'

failures = []
office = {}                   # LibreOffice's profile folder and environment


def fail(message):
    failures.append(message)
    print('FAIL: ' + message, flush=True)


def expect(ok, message):
    if not ok:
        fail(message)
    return ok


def run(args, expect=(0,), env=None, what=None):
    """Runs a command; a failure is reported and None returned."""
    result = subprocess.run(args, capture_output=True, text=True, env=env)
    if result.returncode not in expect:
        fail('%s exited with %d (expected %s): %s' % (
            what or ' '.join(args[:2]), result.returncode,
            ' or '.join(map(str, expect)), (result.stderr or result.stdout).strip()[-600:]))
        return None
    return result


def squeeze(text):
    return re.sub(r'\s+', '', text)


def output(*args, env=None):
    return subprocess.run(args, capture_output=True, text=True, env=env).stdout


def page_count(pdf):
    info = output('pdfinfo', pdf)
    found = re.search(r'^Pages:\s+(\d+)', info, re.M)
    size = re.search(r'^Page size:\s+([\d.]+) x ([\d.]+)', info, re.M)
    return (int(found.group(1)) if found else 0,
            (float(size.group(1)), float(size.group(2))) if size else None)


def font_names(pdf):
    return {line.split()[0].split('+')[-1] for line in output('pdffonts', pdf).splitlines()[2:] if line.strip()}


def text_lines(pdf):
    """Per page, the lines of a PDF: pdftotext's words grouped by yMin, each as
    (text without spaces, left x, top y) in points."""
    pages = []
    for page in re.findall(r'<page [^>]*>(.*?)</page>', output('pdftotext', '-bbox', pdf, '-'), re.S):
        words = [(float(y0), float(x0), float(x1), html.unescape(t))
                 for x0, y0, x1, t in re.findall(
                     r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">(.*?)</word>',
                     page)]
        groups = []
        for word in sorted(words):
            if groups and word[0] - groups[-1][0][0] <= SAME_LINE:
                groups[-1].append(word)
            else:
                groups.append([word])
        pages.append([(squeeze(''.join(w[3] for w in sorted(group, key=lambda w: w[1]))),
                       min(w[1] for w in group), min(w[0] for w in group)) for group in groups])
    return pages


def placed_share(expected_pdf, actual_pdf, keep=lambda line: True):
    """Share (per cent) of expected_pdf's lines that actual_pdf has on the
    same page with the same text within TOLERANCE, and the first few missing."""
    expected, actual = text_lines(expected_pdf), text_lines(actual_pdf)
    total, found, missing = 0, 0, []
    for number, lines in enumerate(expected):
        others = actual[number] if number < len(actual) else []
        for text, x, y in filter(keep, lines):
            total += 1
            if any(t == text and abs(ox - x) <= TOLERANCE and abs(oy - y) <= TOLERANCE
                   for t, ox, oy in others):
                found += 1
            else:
                near = [o for o in others if o[0] == text]
                missing.append('page %d "%s" at (%.1f, %.1f) mm%s' % (
                    number + 1, text, x / MM, y / MM,
                    ', LibreOffice at (%.1f, %.1f) mm' % (near[0][1] / MM, near[0][2] / MM)
                    if near else ', not found'))
    return (100.0 * found / total if total else 0.0), total, missing


def pictures(program, document):
    """The pictures the pages draw, as (page, (x, y, width, height) in twips)."""
    page, found = 0, []
    for fields in (line.split('\t') for line in output(program, 'render', document, '--display-list').splitlines()):
        if fields[0] == 'page':
            page += 1
        elif page and fields[0] == 'picture' and len(fields) > 4:
            found.append((page, [float(f) for f in fields[1:5]]))
    return found


def drawn_texts(program, document):
    """Each text the pages draw, with whether it stands within the ruled
    table (the title and 填表人 stand outside it)."""
    pages = []
    for f in (line.split('\t') for line in output(program, 'render', document, '--display-list').splitlines()):
        if f[0] == 'page':
            pages.append(([], []))
        elif pages and f[0] == 'line':
            pages[-1][0].extend((float(f[2]), float(f[4])))
        elif pages and f[0] == 'text' and squeeze(f[5]):
            pages[-1][1].append((squeeze(f[5]), float(f[2])))
    return [(t, min(ys) <= y <= max(ys)) for ys, texts in pages for t, y in texts]


def grey_page(pdf, page, dpi):
    data = subprocess.run(['pdftoppm', '-gray', '-r', str(dpi), '-f', str(page), '-l', str(page), pdf],
                          capture_output=True).stdout
    header = re.match(rb'P5\s+(\d+)\s+(\d+)\s+\d+\s', data)
    return (int(header.group(1)), data[header.end():]) if header else (0, b'')


def picture_difference(mine, theirs, page, rect, dpi=36):
    """Mean grey difference (0-255) of the two PDFs inside a picture's frame,
    1 mm in from its edges: small where LibreOffice shows the whole photo
    where we print it, large where it is cropped, shifted or missing."""
    (width, ours), (their_width, others) = grey_page(mine, page, dpi), grey_page(theirs, page, dpi)
    x, y, w, h = (v / 1440 * dpi for v in rect)
    inset = dpi / 25.4
    pixels = [(row, col) for row in range(int(y + inset), int(y + h - inset))
              for col in range(int(x + inset), int(x + w - inset))]
    try:   # no pixels, or a page missing or smaller: as different as can be
        return sum(abs(ours[r * width + c] - others[r * their_width + c]) for r, c in pixels) / len(pixels)
    except (IndexError, ZeroDivisionError):
        return 255.0


def soffice(convert_to, outdir, inputs):
    result = run(['soffice', '--headless', '--norestore', '--nologo',
                  '-env:UserInstallation=file://' + office['profile'],
                  '--convert-to', convert_to, '--outdir', outdir] + inputs,
                 env=office['env'], what='LibreOffice --convert-to ' + convert_to.split(':')[0])
    if result and re.search(r'\berror\b', result.stdout + result.stderr, re.I):
        fail('LibreOffice complained: ' + (result.stdout + result.stderr).strip()[-600:])


def main():
    program, source, work = (os.path.abspath(a) for a in sys.argv[1:4])
    started = time.monotonic()
    shutil.rmtree(work, ignore_errors=True)
    for folder in ('ours', 'office', 'roster'):
        os.makedirs(os.path.join(work, folder))

    # LibreOffice finds 宋体 and 楷体 through the alias the package installs.
    fonts = os.path.join(work, 'fonts.conf')
    with open(fonts, 'w') as out:
        out.write('<?xml version="1.0"?>\n<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">\n'
                  '<fontconfig>\n  <include>/etc/fonts/fonts.conf</include>\n'
                  '  <include>%s</include>\n</fontconfig>\n'
                  % os.path.join(source, 'packaging', '65-appointform-cjk-fonts.conf'))
    office.update(profile=os.path.join(work, 'profile'), env=dict(os.environ, FONTCONFIG_FILE=fonts, HOME=work))
    for family, face in (('宋体', 'AR PL SungtiL GB'), ('楷体', 'AR PL KaitiM GB')):
        matched = output('fc-match', '-f', '%{family}', family, env=office['env'])
        expect(face in matched, 'fontconfig resolves %s to "%s", not %s' % (family, matched, face))

    names = [os.path.splitext(d)[0] for d in DOCUMENTS]
    paths = [os.path.join(source, 'samples', d) for d in DOCUMENTS]
    check_word(program, work, names, paths)
    check_roster(program, source, work)
    print('exchange test took %.1f s' % (time.monotonic() - started))
    if failures:
        print('%d failure(s); the first: %s' % (len(failures), failures[0]))
        return 1
    print('all exchange checks passed')
    return 0


def check_word(program, work, names, paths):
    ours, theirs_dir = os.path.join(work, 'ours'), os.path.join(work, 'office')
    # Our own exports: one .docx and one PDF per document, and all in one.
    made = []
    for name, inputs in [(name, [path]) for name, path in zip(names, paths)] + [('all', paths)]:
        targets = [os.path.join(ours, name + ext) for ext in ('.docx', '.pdf')]
        if all([run([program, 'render'] + inputs + ['-o', t], expect=(0, 3), what='render %s -o %s' % (
                name, os.path.basename(t))) and os.path.isfile(t) for t in targets]):
            made.append((name, len(inputs)))

    # python-docx: one table a page, every text the pages draw in its cell,
    # and a cell edited as a clerk would.
    edited = None
    for name, records in made:
        document = docx.Document(os.path.join(ours, name + '.docx'))
        expect(len(document.tables) == 2 * records, '%s.docx: python-docx finds %d tables, expected %d (one a page)'
               % (name, len(document.tables), 2 * records))
        if name == names[0]:
            cells = [squeeze(c.text) for table in document.tables for row in table.rows for c in row.cells]
            body = cells + [squeeze(p.text) for p in document.paragraphs]
            absent = [t for t, inside in drawn_texts(program, paths[0])
                      if not any(t in c for c in (cells if inside else body))]
            expect(drawn_texts(program, paths[0]) and not absent,
                   '%s.docx: python-docx finds no cell holding %s' % (name, ', '.join(absent[:10])))
            edited = edit_name(document, os.path.join(ours, name + '-edited.docx'))

    docx_inputs = [os.path.join(ours, n + '.docx') for n, _ in made] + ([edited[0]] if edited else [])
    if docx_inputs:
        soffice('pdf', theirs_dir, docx_inputs)

    # LibreOffice's layout beside ours.
    for name, records in made:
        mine, theirs = os.path.join(ours, name + '.pdf'), os.path.join(theirs_dir, name + '.pdf')
        if not expect(os.path.isfile(theirs), 'LibreOffice made no PDF of %s.docx' % name):
            continue
        (my_pages, my_size), (their_pages, their_size) = page_count(mine), page_count(theirs)
        expect(my_pages == their_pages == 2 * records, '%s: %d pages in our PDF, %d in LibreOffice\'s, expected %d'
               % (name, my_pages, their_pages, 2 * records))
        expect(my_size and their_size and max(abs(a - b) for a, b in zip(my_size, their_size)) <= 1,
               '%s: LibreOffice\'s sheet is %s points, ours %s' % (name, their_size, my_size))
        strange = font_names(theirs) - font_names(mine)
        expect(not strange, '%s: LibreOffice sets text in %s, not in the form\'s faces %s'
               % (name, ', '.join(sorted(strange)), ', '.join(sorted(font_names(mine)))))
        if records == 1:
            for page, rect in pictures(program, paths[names.index(name)]):
                difference = picture_difference(mine, theirs, page, rect)
                print('%-12s photo on page %d: grey difference %.1f of 255' % (name, page, difference))
                expect(difference <= PICTURE_DIFFERENCE, '%s: LibreOffice does not show the photo as we print it on '
                       'page %d (grey difference %.0f of 255 in its frame)' % (name, page, difference))
        share, total, missing = placed_share(mine, theirs)
        print('%-12s %5.1f %% of %d lines where our PDF has them' % (name, share, total), flush=True)
        expect(share >= REQUIRED_SHARE, '%s: only %.1f %% of the lines in place (need %.0f %%); e.g. %s'
               % (name, share, REQUIRED_SHARE, '; '.join(missing[:6])))

    if edited:
        # The edited copy as LibreOffice saves it again, and both laid out.
        saved = os.path.join(theirs_dir, 'saved')
        soffice('docx:MS Word 2007 XML', saved, [edited[0]])
        base = os.path.basename(edited[0])[:-5]
        soffice('pdf', saved, [os.path.join(saved, base + '.docx')])
        before, old = os.path.join(theirs_dir, names[0] + '.pdf'), edited[1]
        for after, how in ((os.path.join(theirs_dir, base + '.pdf'), 'edited with python-docx'),
                           (os.path.join(saved, base + '.pdf'), 'and saved by LibreOffice')):
            if not expect(os.path.isfile(before) and os.path.isfile(after),
                          'LibreOffice made no PDF of the document %s' % how):
                continue
            share, total, missing = placed_share(before, after, keep=lambda line: old not in line[0])
            print('cell %s: %.1f %% of %d other lines kept their place' % (how, share, total), flush=True)
            expect(share == 100.0, 'the cell %s moved other lines: %s' % (how, '; '.join(missing[:6])))
            expect(any(EDITED_NAME in line[0] for page in text_lines(after) for line in page),
                   'the edited text %s is not in LibreOffice\'s PDF of the document %s' % (EDITED_NAME, how))


def edit_name(document, target):
    """Types another name into the cell right of the label 姓名, keeping the
    run's formatting, and saves the copy; returns (path, old text)."""
    for cells in (row.cells for table in document.tables for row in table.rows):
        for label, cell in zip(cells, cells[1:]):
            if squeeze(label.text) == '姓名' and cell._tc is not label._tc \
                    and squeeze(cell.text) and cell.paragraphs[0].runs:
                old = squeeze(cell.text)
                runs = cell.paragraphs[0].runs
                runs[0].text = EDITED_NAME
                for run_ in runs[1:]:
                    run_.text = ''
                for paragraph in cell.paragraphs[1:]:
                    paragraph._element.getparent().remove(paragraph._element)
                document.save(target)
                return target, old
    fail('python-docx finds no filled cell beside the label 姓名 to edit')
    return None


def read_csv(path):
    with open(path, newline='', encoding='utf-8-sig') as source:
        return [row for row in csv.reader(source)]


def check_roster(program, source, work):
    samples = os.path.join(source, 'samples')
    documents = sorted(os.path.join(samples, d) for d in os.listdir(samples) if d.endswith('.dwz'))
    documents.append(os.path.join(samples, 'older.ren'))
    roster = os.path.join(work, 'roster')
    xlsx, ours_csv = os.path.join(roster, 'r.xlsx'), os.path.join(roster, 'r.csv')
    if not (run([program, 'roster'] + documents + ['-o', xlsx], what='roster -o r.xlsx')
            and run([program, 'roster'] + documents + ['-o', ours_csv], what='roster -o r.csv')):
        return
    header = ('姓名 性别 出生年月 年龄 民族 籍贯 出生地 入党时间 参加工作时间 全日制学历学位 毕业院校及专业 '
              '在职学历学位 毕业院校及专业 专业技术职务 现任职务 拟任职务 拟免职务 呈报单位 文件').split()
    rows = read_csv(ours_csv)
    expect(rows[:1] == [header], 'our roster CSV header is %s' % (rows[:1],))
    expect(len(rows) == 1 + len(documents), 'our roster CSV has %d rows, expected %d' % (len(rows), 1 + len(documents)))

    converted = os.path.join(roster, 'office', 'r.csv')
    soffice('csv:Text - txt - csv (StarCalc):44,34,76', os.path.dirname(converted), [xlsx])
    if expect(os.path.isfile(converted), 'LibreOffice made no CSV of r.xlsx'):
        theirs = [r for r in read_csv(converted) if any(r)]
        ours = [r for r in rows if any(r)]
        if theirs != ours:
            differing = next((i for i, (a, b) in enumerate(zip(ours, theirs)) if a != b), None)
            fail('LibreOffice reads r.xlsx as %d rows, ours has %d; first difference: %s'
                 % (len(theirs), len(ours), (ours[differing], theirs[differing])
                    if differing is not None else 'row count'))
        else:
            print('roster: LibreOffice\'s CSV of r.xlsx equals ours (%d rows)' % len(ours), flush=True)

    sheet = openpyxl.load_workbook(xlsx).worksheets[0]
    expect(sheet.title == '名册', 'the roster\'s first sheet is "%s"' % sheet.title)
    expect(sheet.freeze_panes == 'A2', 'the roster\'s header is not frozen (freeze_panes %s)' % sheet.freeze_panes)
    typed = [(c.coordinate, c.data_type) for row in sheet.iter_rows()
             for c in row if c.value is not None and c.data_type != 's']
    expect(not typed, 'roster cells that are not text: %s' % typed[:8])

    # A damaged document is listed on its own sheet and fails the run.
    bad = os.path.join(roster, 'bad.dwz')
    with open(bad, 'wb') as out:
        out.write(b'\x00\xff\x13garbage\x9a"')
    with_bad = os.path.join(roster, 'with-bad.xlsx')
    run([program, 'roster', documents[0], bad, '-o', with_bad], expect=(1,),
        what='roster with a damaged document')
    if expect(os.path.isfile(with_bad), 'roster with a damaged document wrote no workbook'):
        book = openpyxl.load_workbook(with_bad)
        if expect('未通过' in book.sheetnames, 'no sheet "未通过" for the damaged document (sheets %s)' % book.sheetnames):
            expect(any('bad' in str(c.value) for row in book['未通过'].iter_rows() for c in row),
                   'sheet "未通过" does not name bad.dwz')
        expect(book.worksheets[0].max_row == 2,
               'sheet 名册 holds %d rows with one good document' % book.worksheets[0].max_row)


if __name__ == '__main__':
    sys.exit(main())
