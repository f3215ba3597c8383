#!/usr/bin/env python3
"""Writes the documents whose display lists are kept as golden files: the
typical sample with one part of the form pushed to an edge each. Run by hand
when a document is added; the documents are kept in the tree."""
import os
import re

here = os.path.dirname(os.path.abspath(__file__))
base_path = os.path.join(here, '..', '..', 'samples', 'typical.dwz')
with open(base_path, 'rb') as f:
    base = re.findall(r'"(.*?)"', f.read().decode('gb18030'), re.S)
assert len(base) == 32

def write(name, changes):
    items = list(base)
    for number, text in changes.items():
        items[number - 1] = text
    text = ','.join('"' + i + '"' for i in items) + '\r\n'
    with open(os.path.join(here, 'documents', name), 'wb') as f:
        f.write(text.encode('gb18030'))

write('seasons_and_parties.dwz', {3: '1968秋', 6: '198507；民盟；致公党', 9: '1990',
                                   23: '1970春@1996@1942@1945底@@@@@@'})
write('punctuation_edges.dwz', {26: '江州市化工局副局长、党组成员、机关党委书记（兼）。', 27: '江州市“化工局”局长、党组书记，兼任江州市化工行业协会会长；',
                                28: "江州市化工局副局长（正处级）职务's test ABC-123。"})
write('long_page_two.dwz', {19: '2012年被评为省安全生产先进个人；' * 12, 20: '2021年、2022年、2023年年度考核均为称职。' * 8,
                            22: '李红梅@欧阳张子健@张国强@王秀英英英英@@@@@@', 25: '江州市第一中学高级教师、教研组组长、党支部书记@江州市某科技公司职员@江州市化工局退休干部@退休@@@@@@',
                            29: '工作需要，经市委常委会研究决定。' * 6, 30: '中共江州市委组织部、江州市人力资源和社会保障局联合呈报'})
write('resume_at_the_limit.dwz', {18: '\r\n'.join('%d.01--%d.12  江州市某单位某职务第%d段经历' % (1980 + i, 1980 + i, i + 1) for i in range(34))})
write('resume_too_long.dwz', {18: '\r\n'.join('%d.01--%d.12  江州市某单位某职务' % (1900 + i, 1900 + i) for i in range(60))})
write('mixed_ascii.dwz', {1: 'Zhang Ming-Hua', 5: 'Jiangsu Nantong', 11: 'East China Univ. of Sci. & Tech.#Chemical Engineering@Party School#Economics',
                          12: 'Senior Engineer (Chemistry)', 17: 'Safety management, ISO 9001 & 14001 audits'})
# The post rows at their line limits (25 characters a line, marks pulled or
# pushed, 75 at most), the reporting unit at each of its lengths, the lower
# degree line below 12 points, and cells whose text must shrink (the name to
# 11 or 8 points) or cannot fit (the name, a family workplace), party names
# without a date.
write('posts_one_line.dwz', {1: '一二三四五六七八九十', 6: '民盟', 10: '大学#管理学硕士研究生学位证@#', 11: '某工业大学#@中央党校函授学院#经济管理专业',
                             26: '字' * 25, 27: '字' * 26, 28: '字' * 25 + '。', 30: '单' * 9})
write('posts_growing.dwz', {6: '；民盟；民进', 26: '字' * 51, 27: '字' * 50 + "'", 28: '字' * 24 + '（字）', 30: '单' * 10})
write('posts_too_long.dwz', {1: '国' * 60, 26: '', 27: '字' * 76, 28: '字' * 75, 30: '单' * 33})
write('name_at_eight_points.dwz', {1: '国' * 21, 25: '长' * 200 + '@' * 8, 30: '单' * 30})
