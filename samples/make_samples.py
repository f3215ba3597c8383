#!/usr/bin/env python3
"""Writes the sample documents (code page 936) and their companion photos.

Every person, unit and date here is made up. Run from any folder:
    python3 samples/make_samples.py
The photos are drawn with ImageMagick ("convert").
"""
import os
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
CRLF = "\r\n"
INDENT = " " * 18


def family(*cells):
    """A family column item: seven rows then two empty cells, each ended by "@"."""
    rows = list(cells) + [""] * (9 - len(cells))
    return "".join(c + "@" for c in rows)


def resume(entries):
    """Résumé lines: a date column of 18 characters, continuation lines indented."""
    lines = []
    for date, text in entries:
        parts = text if isinstance(text, list) else [text]
        lines.append(date.ljust(18) + parts[0])
        lines.extend(INDENT + p for p in parts[1:])
    return CRLF.join(lines)


def write(name, items, bare=()):
    """One record of quoted items; indexes in `bare` are written unquoted."""
    out = []
    for i, item in enumerate(items):
        out.append(str(item) if i in bare else '"' + item + '"')
    data = (",".join(out) + CRLF).encode("gb18030")
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def photo(name, fmt, background, coat, size="300x400"):
    """A simple portrait: head and shoulders on a plain background."""
    path = os.path.join(HERE, name)
    subprocess.run([
        "convert", "-size", "300x400", "xc:" + background,
        "-fill", coat, "-draw", "ellipse 150,400 130,110 180,360",
        "-fill", "#f1d2b6", "-draw", "rectangle 128,215 172,300",
        "-fill", "#f1d2b6", "-draw", "ellipse 150,170 62,80 0,360",
        "-fill", "#2b2b2b", "-draw", "ellipse 150,118 66,40 180,360",
        "-fill", "#2b2b2b", "-draw", "circle 127,170 127,177",
        "-fill", "#2b2b2b", "-draw", "circle 173,170 173,177",
        "-fill", "#b05050", "-draw", "ellipse 150,212 16,5 0,180",
        "-fill", "white", "-draw", "polygon 128,300 150,340 172,300",
        "-resize", size, "-quality", "90", fmt + ":" + path,
    ], check=True)


def dwz(d):
    return [
        d["name"], d["sex"], d["birthday"], d["people"], d["jiguan"], d["rudang"], d["health"],
        d["birplace"], d["worktime"], d["xueli"], d["biye"], d["xuewei"], "", "", "", "",
        d["shuxi"], d["jianli"], d["jiangcheng"], d["kaohe"],
        d["chengwei"], d["xingm"], d["csrq"], d["mianmao"], d["danwei"],
        d["xianren"], d["niren"], d["nimian"], d["renmian"], d["chengbao"], d["date"], d["namefill"],
    ]


TYPICAL = dict(
    name="张明华", sex="男", birthday="196805", people="汉族", jiguan="江苏南通", rudang="199107",
    health="健康", birplace="江苏南通", worktime="199008",
    xueli="大学#工学学士@研究生#管理学硕士",
    biye="华东理工学院#化学工程专业@省委党校#经济管理专业",
    xuewei="高级工程师", shuxi="化工生产与安全管理",
    jianli=resume([
        ("1986.09--1990.07", "华东理工学院化学工程专业学习"),
        ("1990.08--1995.03", "江州市第二化工厂技术员、车间副主任"),
        ("1995.03--2001.06", ["江州市第二化工厂生产科科长、副厂长", "（其间：1997.09--2000.07在省委党校", "经济管理专业在职研究生学习）"]),
        ("2001.06--2008.12", "江州市化工局安全生产处处长"),
        ("2008.12--2016.05", "江州市化工局副局长"),
        ("2016.05--", "江州市化工局副局长、党组成员"),
    ]),
    jiangcheng="2012年被评为省安全生产先进个人。",
    kaohe="2021年、2022年、2023年年度考核均为称职。",
    chengwei=family("妻子", "儿子", "父亲", "母亲"),
    xingm=family("李红梅", "张子健", "张国强", "王秀英"),
    csrq=family("197003", "199605", "194210", "1945春"),
    mianmao=family("中共党员", "共青团员", "中共党员", "群众"),
    danwei=family("江州市第一中学教师", "江州市某科技公司职员", "江州市化工局退休干部", "退休"),
    xianren="江州市化工局副局长、党组成员",
    niren="江州市化工局局长、党组书记",
    nimian="江州市化工局副局长职务",
    renmian="工作需要。",
    chengbao="中共江州市委组织部",
    date="20240301", namefill="王晓",
)

LONG_RESUME = dict(TYPICAL)
LONG_RESUME.update(
    name="陈静", sex="女", birthday="19650312", jiguan="浙江湖州", birplace="浙江湖州",
    rudang="199001；民盟", worktime="198707",
    xueli="大学#文学学士@#", biye="浙江师范学院#中文专业@#", xuewei="编审", shuxi="出版管理",
    jianli=resume([
        ("1983.09--1987.07", "浙江师范学院中文系学生"),
        ("1987.07--1989.03", "江州市第三中学教师"),
        ("1989.03--1991.08", "江州日报社记者"),
        ("1991.08--1993.02", "江州日报社文教部副主任"),
        ("1993.02--1995.11", "江州日报社文教部主任"),
        ("1995.11--1997.04", "江州出版社编辑室主任"),
        ("1997.04--1999.09", ["江州出版社副总编辑", "（其间：1997.09--1998.07在省委党校", "中青年干部培训班学习）"]),
        ("1999.09--2002.01", "江州出版社总编辑"),
        ("2002.01--2004.06", "江州市新闻出版局出版处处长"),
        ("2004.06--2006.03", "江州市新闻出版局副局长"),
        ("2006.03--2008.10", "江州市文化局副局长"),
        ("2008.10--2011.05", "江州市文化局副局长、党组成员"),
        ("2011.05--2013.12", "江州市文化局局长、党组书记"),
        ("2013.12--2016.02", "江州市文化广电新闻出版局局长"),
        ("2016.02--2018.07", "江州市政协文史委员会主任"),
        ("2018.07--2020.09", "江州市政协副秘书长"),
        ("2020.09--2022.03", "江州市政协秘书长"),
        ("2022.03--", ["江州市政协秘书长、机关党组书记", "（2019.11起兼任民盟江州市委员会副主委）"]),
        ("", ""),
        ("2016.05--2021.05", "江州市第八届人大代表"),
        ("2018.01--2023.01", "江州市政协第十二届委员会常务委员"),
        ("2020.06--", "江州市作家协会名誉主席"),
        ("2021.09--", "江州学院兼职教授"),
        ("2023.01--", "江州市政协第十三届委员会常务委员"),
    ]),
    chengwei=family("丈夫", "女儿"), xingm=family("刘建国", "刘思远"),
    csrq=family("196308", "199211"), mianmao=family("中共党员", "群众"),
    danwei=family("江州市人民医院主任医师", "上海某律师事务所律师"),
    xianren="江州市政协秘书长、机关党组书记", niren="江州市政协副主席", nimian="江州市政协秘书长职务",
    renmian="届中调整。", chengbao="中共江州市委", date="20240301", namefill="赵敏",
)

LONG_POSTS = dict(TYPICAL)
LONG_POSTS.update(
    name="欧阳志远", birthday="1971秋", jiguan="湖南岳阳", birplace="湖南长沙", rudang="民盟",
    worktime="1993", xueli="#@大学#经济学学士", biye="#@湖南财经学院#会计学专业", xuewei="高级会计师",
    shuxi="财政金融",
    jianli=resume([
        ("1989.09--1993.07", "湖南财经学院会计学专业学习"),
        ("1993.07--2005.04", "江州市财政局科员、副科长、科长"),
        ("2005.04--2014.09", "江州市财政局副局长"),
        ("2014.09--", ["江州经济开发区管委会副主任", "兼江州市财政局副局长"]),
    ]),
    xianren="江州经济开发区管委会副主任、党工委委员，兼江州市财政局副局长、党组成员，江州市国有资产投资经营有限公司董事",
    niren="江州市财政局局长、党组书记，兼江州市国有资产监督管理委员会主任、江州市金融工作办公室主任",
    nimian="江州经济开发区管委会副主任、党工委委员，江州市财政局副局长、党组成员职务",
    chengwei=family("妻子", "", "女儿"), xingm=family("周 丽", "", "欧阳可"),
    csrq=family("197302", "", "200108"), mianmao=family("民盟盟员", "", "共青团员"),
    danwei=family("江州市税务局某分局科长", "", "北京某大学学生"),
    renmian="工作需要，经市委常委会研究决定。",
    chengbao="中共江州市委组织部、江州市人力资源和社会保障局",
    date="20240301", namefill="李 强",
)


def main():
    write("typical.dwz", dwz(TYPICAL))
    photo("typical.pic", "jpg", "#3d6fb0", "#1f2f4a")

    write("long_resume.dwz", dwz(LONG_RESUME))

    write("long_posts.dwz", dwz(LONG_POSTS))
    photo("long_posts.pic", "bmp3", "#c43a3a", "#333333", "150x200")

    o = TYPICAL
    ren = [
        "孙立平", "男", "195811", "回族", "河北沧州",
        "198507", "", "民盟", "民进",            # party: date, unused, two further parties
        "健康", "河北沧州", "197612",
        "中专#@大学#法学学士", "沧州师范学校#@中央广播电视大学#法律专业",
        "高级经济师", "", "", "", "",
        "企业管理",
        resume([("1976.12--1985.03", "沧州市供销社职员"), ("1985.03--1998.06", "江州市商业局科长、副局长"),
                ("1998.06--", "江州市商务局局长")]),
        "无", "近三年年度考核均为优秀。",
        family("妻子", "儿子"), family("马秀兰", "孙伟"), family("1960", "198507"),
        family("民进会员", "群众"), family("江州市商务局退休干部", "江州市某商场经理"),
        "江州市商务局局长", "", "江州市商务局局长职务", "到龄退休。", "中共江州市委组织部", "20181105",
    ]
    write("older.ren", ren)
    photo("older.pic", "jpg", "#e8e8e0", "#4a3b2f")

    ljy = [
        "何佳", "女", "19790624", 45, "汉族", "四川绵阳",
        "200106", "中共", "", "",
        "", "四川绵阳", "200107", "",
        "研究生", "四川大学计算机专业", "工学硕士、高级工程师", "",
        "健康", "信息化建设",
        resume([("1997.09--2001.07", "四川大学计算机系学生"), ("2001.07--2004.09", "四川大学计算机专业研究生"),
                ("2004.09--", "江州市大数据中心工程师、副主任")]),
        "2019年获市科技进步二等奖。",
        family("丈夫", "儿子"), family("吴昊", "吴一帆"), family("197805", "200803"),
        family("中共党员", "群众"), family("江州市规划院工程师", "江州市第二中学学生"),
        "江州市大数据中心副主任", "拟提拔使用", "2023年年度考核为优秀。", "（备注）", "20240115",
    ]
    write("brief.ljy", ljy, bare={3})
    photo("brief.pic", "jpg", "#5b9a68", "#20302a")


if __name__ == "__main__":
    main()
