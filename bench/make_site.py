#!/usr/bin/env python3
"""Writes the synthetic benchmark site twice: as a Pentrak project and as the equivalent Hugo site.

Every document is a 150-line page with about 40 macro references: three levels of nested
macros, a parameterised link on some lines, two content files of its own, two global content
files and a project macro file. The Hugo site renders the same page from front-matter
parameters through three nested partials.

usage: make_site.py OUTPUT_FOLDER FOLDERS DOCUMENTS_PER_FOLDER
"""
import os
import sys

CRLF = "\r\n"


def write(path, lines):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", newline="") as f:
        f.write(CRLF.join(lines) + CRLF)


def macro(name, value):
    return [f"[@{name}]:", value, "[@]", ""]


def template_lines():
    """150 lines, 40 macro tags: 30 lines with one, 5 with two."""
    lines = ["<!DOCTYPE html>", "<html>", "<head>", "  <title>[@TITLE]</title>", "</head>",
             "<body>", "  [@HEADER]"]
    body = 0
    while len(lines) < 140:
        n = len(lines)
        if n % 4 == 0 and body < 24:
            body += 1
            lines.append(f"  <p class=\"c{body}\">[@BODY{body}]</p>")
        elif n % 17 == 0:
            lines.append(f"  <li>[@LINK(@url:/page{n}.html)(@text:Page {n})] and [@MENU_LABEL]</li>")
        else:
            lines.append(f"  <div class=\"row{n}\">static text of line {n} in the page body</div>")
    lines += ["  [@FOOTER]", "  <small>[@AUTHOR] / [@DATE_TEXT]</small>"]
    while len(lines) < 149:
        lines.append("  <!-- padding -->")
    lines.append("</body></html>")
    return lines


def count_tags(lines):
    return sum(line.count("[@") for line in lines)


def pentrak_site(root, folders, docs):
    src = os.path.join(root, "src")
    tpl = template_lines()
    write(os.path.join(src, "page.tpl"), tpl)
#Project macro file and two global content files; HEADER->SITE_TITLE->SITE_NAME nests
#three levels, FOOTER->COPYRIGHT->SITE_NAME likewise.
    write(os.path.join(src, "project.par"),
          macro("SITE_NAME", "Benchmark Site") + macro("MENU_LABEL", "Menu"))
    write(os.path.join(src, "global1.par"),
          macro("HEADER", "<header>[@SITE_TITLE]</header>")
          + macro("SITE_TITLE", "<h1>[@SITE_NAME]</h1>")
          + ["[@LINK(@url)(@text:Click here)]:", "<a href=\"(@url)\">(@text)</a>", "[@]", ""])
    write(os.path.join(src, "global2.par"),
          macro("FOOTER", "<footer>[@COPYRIGHT]</footer>")
          + macro("COPYRIGHT", "(c) [@SITE_NAME]") + macro("DATE_TEXT", "2024"))
    definition = ["Globals=global1.par,global2.par!"]
    for f in range(folders):
        definition.append(f"[F{f:03d}]")
        for d in range(docs):
            name = f"f{f:03d}/d{d:03d}"
            definition.append(f"{name}.html,page.tpl,{name}.par,{name}_meta.par!")
            page = []
            for b in range(1, 25):
                page += macro(f"BODY{b}", f"Paragraph {b} of document {d} in folder {f}.")
            write(os.path.join(src, name + ".par"), page)
            write(os.path.join(src, name + "_meta.par"),
                  macro("TITLE", f"Document {d} of folder {f}") + macro("AUTHOR", f"Author {d}"))
    write(os.path.join(src, "project.txt"), definition)
    ninja_file(root, folders, docs)
    write(os.path.join(root, "site.web"), [
        "name=Benchmark",
        "document-root=" + os.path.join(root, "out"),
        "content-root=" + src,
        "definition-file=project.txt",
        "project-macro-file=project.par",
        f"max-folders={folders}",
        f"max-docs={docs}",
        "max-project-macros=10",
    ])
    os.makedirs(os.path.join(root, "out"), exist_ok=True)
    return count_tags(tpl)


def ninja_file(root, folders, docs):
    """The same dependencies for ninja: one edge per document, its inputs the template, its
    content files, the globals and the project macro file. A generator rule needs no build log
    to call its outputs up to date, so ninja's no-work check compares time stamps only."""
    lines = ["rule page", "  command = touch $out", "  generator = 1", ""]
    shared = "src/page.tpl src/global1.par src/global2.par src/project.par"
    for f in range(folders):
        for d in range(docs):
            name = f"f{f:03d}/d{d:03d}"
            lines.append(f"build out/{name}.html: page {shared} src/{name}.par src/{name}_meta.par")
    with open(os.path.join(root, "build.ninja"), "w") as out:
        out.write("\n".join(lines) + "\n")


def hugo_site(root, folders, docs):
    tpl = template_lines()
#The same page in Hugo 's template language: references to the page' s parameters, and the
#header and footer through three nested partials each.
    hugo_tpl = []
    for line in tpl:
        line = line.replace("[@HEADER]", '{{ partial "header.html" . }}')
        line = line.replace("[@FOOTER]", '{{ partial "footer.html" . }}')
        line = line.replace("[@MENU_LABEL]", "{{ site.Params.menu_label }}")
        line = line.replace("[@DATE_TEXT]", "{{ site.Params.date_text }}")
        line = line.replace("[@TITLE]", "{{ .Title }}")
        line = line.replace("[@AUTHOR]", "{{ .Params.author }}")
        for b in range(24, 0, -1):
            line = line.replace(f"[@BODY{b}]", f"{{{{ .Params.body{b} }}}}")
        if "[@LINK(" in line:
            start = line.index("[@LINK(")
            end = line.index(")]", start) + 2
            inner = line[start:end]
            url = inner.split("(@url:")[1].split(")")[0]
            text = inner.split("(@text:")[1].split(")")[0]
            line = (line[:start] + f'{{{{ partial "link.html" (dict "url" "{url}" "text" "{text}") }}}}'
                    + line[end:])
        hugo_tpl.append(line)
    layouts = os.path.join(root, "layouts")
    write(os.path.join(layouts, "_default", "single.html"), hugo_tpl)
    write(os.path.join(layouts, "partials", "header.html"),
          ['<header>{{ partial "site_title.html" . }}</header>'])
    write(os.path.join(layouts, "partials", "site_title.html"),
          ['<h1>{{ partial "site_name.html" . }}</h1>'])
    write(os.path.join(layouts, "partials", "site_name.html"), ["{{ site.Params.site_name }}"])
    write(os.path.join(layouts, "partials", "footer.html"),
          ['<footer>{{ partial "copyright.html" . }}</footer>'])
    write(os.path.join(layouts, "partials", "copyright.html"),
          ['(c) {{ partial "site_name.html" . }}'])
    write(os.path.join(layouts, "partials", "link.html"), ['<a href="{{ .url }}">{{ .text }}</a>'])
    write(os.path.join(root, "config.toml"), [
        'baseURL = "http://example.invalid/"',
        'disableKinds = ["home", "section", "taxonomy", "term", "RSS", "sitemap", "robotsTXT", "404"]',
        "[params]",
        'site_name = "Benchmark Site"',
        'menu_label = "Menu"',
        'date_text = "2024"',
    ])
    for f in range(folders):
        for d in range(docs):
            front = ["---", f'title: "Document {d} of folder {f}"', f'author: "Author {d}"']
            for b in range(1, 25):
                front.append(f'body{b}: "Paragraph {b} of document {d} in folder {f}."')
            front.append("---")
            write(os.path.join(root, "content", f"f{f:03d}", f"d{d:03d}.md"), front)


def main():
    if len(sys.argv) != 4 or not sys.argv[2].isdigit() or not sys.argv[3].isdigit():
        # The docstring's last line is the usage.
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        sys.exit(0 if "--help" in sys.argv or "-h" in sys.argv else 2)
    out, folders, docs = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    tags = pentrak_site(os.path.join(out, "pentrak"), folders, docs)
    hugo_site(os.path.join(out, "hugo"), folders, docs)
    print(f"{folders * docs} documents of 150 lines with {tags} macro tags each")


if __name__ == "__main__":
    main()
