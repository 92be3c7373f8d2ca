#!/usr/bin/env python3
"""Builds the shipped letter templates Brief.ott and Brief.dotx.

Both hold the same business letter after DIN 5008 (form A): the sender line above
the address field, the address, the date on the right, subject, salutation, a body
placeholder and the closing. The letter command of the contact list fills the
bookmarks Datum, SAnrede, Anrede1, Anrede2, Titel, NName, VName, Name, Strasse,
PLZ and Ort.

A bookmark name can occur only once in a document, so the surname cannot stand both
in the address and after the derived salutation "Sehr geehrter Herr" (Anrede1). The
letter therefore greets with the contact's own letter salutation (SAnrede, for
example "Sehr geehrte Frau Mustermann,"), and Anrede1 sits in a hidden paragraph
below it: the text is in the document, and whoever prefers it can show it.

Run from anywhere:  python3 resources/make_templates.py
The output is reproducible (fixed time stamps), so unchanged templates give
unchanged files.
"""

import os
import zipfile
from xml.sax.saxutils import escape

HERE = os.path.dirname(os.path.abspath(__file__))
TARGET = os.path.join(HERE, "defaults", "Allgemein")
STAMP = (2024, 1, 1, 0, 0, 0)

SENDER = "Firmenname \u00b7 Stra\u00dfe Hausnummer \u00b7 PLZ Ort"

# The letter as paragraphs: (style, hidden, parts); a part is text or ("bm", name).
LETTER = [
    ("Absenderzeile", False, [SENDER]),
    ("Anschrift", False, [("bm", "Anrede2"), " ", ("bm", "Titel")]),
    ("Anschrift", False, [("bm", "Name"), ("bm", "VName"), " ", ("bm", "NName")]),
    ("Anschrift", False, [("bm", "Strasse")]),
    ("Anschrift", False, [("bm", "PLZ"), " ", ("bm", "Ort")]),
    ("Anschrift", False, []),
    ("Anschrift", False, []),
    ("Datum", False, [("bm", "Datum")]),
    ("Betreff", False, ["Betreff"]),
    ("Brieftext", False, [("bm", "SAnrede")]),
    ("Brieftext", True, [("bm", "Anrede1")]),
    ("Brieftext", False, ["\u2026"]),
    ("Brieftext", False, ["Mit freundlichen Gr\u00fc\u00dfen"]),
    ("Unterschrift", False, ["Vorname Nachname"]),
]

BOOKMARKS = [p[1] for _, _, parts in LETTER for p in parts if isinstance(p, tuple)]
assert sorted(BOOKMARKS) == sorted(
    ["Datum", "SAnrede", "Anrede1", "Anrede2", "Titel", "NName", "VName", "Name", "Strasse", "PLZ", "Ort"]
), BOOKMARKS


def write_zip(path, entries):
    """entries: (name, text, stored) in archive order."""
    tmp = path + ".tmp"
    with zipfile.ZipFile(tmp, "w") as z:
        for name, text, stored in entries:
            info = zipfile.ZipInfo(name, STAMP)
            info.compress_type = zipfile.ZIP_STORED if stored else zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            z.writestr(info, text.encode("utf-8"))
    os.replace(tmp, path)


# ---------------------------------------------------------------- OpenDocument

ODF_NS = (
    'xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
    'xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" '
    'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
    'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
    'xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" '
    'xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" '
    'xmlns:dc="http://purl.org/dc/elements/1.1/" '
    'xmlns:meta="urn:oasis:names:tc:opendocument:xmlns:meta:1.0" '
    'office:version="1.2"'
)


def odf_paragraph(style, parts):
    inner = ""
    for part in parts:
        if isinstance(part, tuple):
            inner += '<text:bookmark text:name="%s"/>' % part[1]
        else:
            inner += escape(part)
    return '<text:p text:style-name="%s">%s</text:p>' % (style, inner)


def odf_content():
    body = ""
    for style, hidden, parts in LETTER:
        paragraph = odf_paragraph(style, parts)
        if hidden:
            paragraph = (
                '<text:section text:style-name="Versteckt" text:name="Anrede1" text:display="none">'
                + paragraph
                + "</text:section>"
            )
        body += paragraph
    return (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        "<office:document-content %s>"
        "<office:automatic-styles>"
        '<style:style style:name="Versteckt" style:family="section"/>'
        "</office:automatic-styles>"
        "<office:body><office:text>%s</office:text></office:body>"
        "</office:document-content>" % (ODF_NS, body)
    )


def odf_style(name, props="", text=""):
    out = '<style:style style:name="%s" style:family="paragraph" style:parent-style-name="Standard">' % name
    if props:
        out += "<style:paragraph-properties %s/>" % props
    if text:
        out += "<style:text-properties %s/>" % text
    return out + "</style:style>"


def odf_styles():
    return (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        "<office:document-styles %s>"
        "<office:font-face-decls>"
        '<style:font-face style:name="Arial" svg:font-family="Arial" '
        'style:font-family-generic="swiss" style:font-pitch="variable"/>'
        "</office:font-face-decls>"
        "<office:styles>"
        '<style:default-style style:family="paragraph">'
        '<style:paragraph-properties fo:margin-top="0cm" fo:margin-bottom="0cm"/>'
        '<style:text-properties style:font-name="Arial" fo:font-size="11pt" '
        'fo:language="de" fo:country="DE"/>'
        "</style:default-style>"
        '<style:style style:name="Standard" style:family="paragraph" style:class="text"/>'
        + odf_style(
            "Absenderzeile",
            'fo:margin-bottom="0.2cm"',
            'fo:font-size="7pt" style:text-underline-style="solid" '
            'style:text-underline-width="auto" style:text-underline-color="font-color"',
        )
        + odf_style("Anschrift")
        + odf_style("Datum", 'fo:text-align="end" fo:margin-top="0.85cm"')
        + odf_style(
            "Betreff",
            'fo:margin-top="0.85cm" fo:margin-bottom="0.85cm"',
            'fo:font-weight="bold" style:font-weight-asian="bold" style:font-weight-complex="bold"',
        )
        + odf_style("Brieftext", 'fo:margin-bottom="0.42cm"')
        + odf_style("Unterschrift", 'fo:margin-top="1.2cm"')
        + "</office:styles>"
        "<office:automatic-styles>"
        '<style:page-layout style:name="pm1">'
        '<style:page-layout-properties fo:page-width="21cm" fo:page-height="29.7cm" '
        'style:print-orientation="portrait" fo:margin-top="2.7cm" fo:margin-bottom="2cm" '
        'fo:margin-left="2.5cm" fo:margin-right="2cm"/>'
        "</style:page-layout>"
        "</office:automatic-styles>"
        "<office:master-styles>"
        '<style:master-page style:name="Standard" style:page-layout-name="pm1"/>'
        "</office:master-styles>"
        "</office:document-styles>"
    ).replace("%s", ODF_NS, 1)


def odf_meta():
    return (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        "<office:document-meta %s><office:meta>"
        "<meta:generator>Orvella</meta:generator><dc:title>Brief</dc:title>"
        "</office:meta></office:document-meta>" % ODF_NS
    )


def odf_manifest():
    entries = "".join(
        '<manifest:file-entry manifest:full-path="%s" manifest:media-type="text/xml"/>' % name
        for name in ("content.xml", "styles.xml", "meta.xml")
    )
    return (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        '<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" '
        'manifest:version="1.2">'
        '<manifest:file-entry manifest:full-path="/" manifest:version="1.2" '
        'manifest:media-type="application/vnd.oasis.opendocument.text-template"/>'
        "%s</manifest:manifest>" % entries
    )


def make_ott(path):
    write_zip(
        path,
        [
            ("mimetype", "application/vnd.oasis.opendocument.text-template", True),
            ("content.xml", odf_content(), False),
            ("styles.xml", odf_styles(), False),
            ("meta.xml", odf_meta(), False),
            ("META-INF/manifest.xml", odf_manifest(), False),
        ],
    )


# ---------------------------------------------------------------- Office Open XML

W_NS = 'xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"'
R_NS = 'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"


def w_run(text):
    return '<w:r><w:t xml:space="preserve">%s</w:t></w:r>' % escape(text)


def w_paragraph(style, hidden, parts, ids):
    ppr = '<w:pStyle w:val="%s"/>' % style
    if hidden:
        # the paragraph mark hidden too, so no empty line shows
        ppr += "<w:rPr><w:vanish/></w:rPr>"
    inner = ""
    for part in parts:
        if isinstance(part, tuple):
            n = ids.setdefault(part[1], len(ids))
            inner += '<w:bookmarkStart w:id="%d" w:name="%s"/><w:bookmarkEnd w:id="%d"/>' % (n, part[1], n)
        else:
            inner += w_run(part)
    return "<w:p><w:pPr>%s</w:pPr>%s</w:p>" % (ppr, inner)


def docx_document():
    ids = {}
    body = "".join(w_paragraph(style, hidden, parts, ids) for style, hidden, parts in LETTER)
    section = (
        '<w:sectPr><w:pgSz w:w="11906" w:h="16838"/>'
        '<w:pgMar w:top="1531" w:right="1134" w:bottom="1134" w:left="1417" '
        'w:header="709" w:footer="709" w:gutter="0"/></w:sectPr>'
    )
    return (
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        "<w:document %s %s><w:body>%s%s</w:body></w:document>" % (W_NS, R_NS, body, section)
    )


def w_style(style_id, ppr="", rpr=""):
    out = (
        '<w:style w:type="paragraph" w:customStyle="1" w:styleId="%s"><w:name w:val="%s"/>'
        '<w:basedOn w:val="Standard"/><w:qFormat/>' % (style_id, style_id)
    )
    if ppr:
        out += "<w:pPr>%s</w:pPr>" % ppr
    if rpr:
        out += "<w:rPr>%s</w:rPr>" % rpr
    return out + "</w:style>"


def docx_styles():
    return (
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        "<w:styles %s>"
        "<w:docDefaults>"
        '<w:rPrDefault><w:rPr><w:rFonts w:ascii="Arial" w:hAnsi="Arial" w:eastAsia="Arial" w:cs="Arial"/>'
        '<w:sz w:val="22"/><w:szCs w:val="22"/><w:lang w:val="de-DE" w:eastAsia="de-DE" w:bidi="ar-SA"/>'
        "</w:rPr></w:rPrDefault>"
        '<w:pPrDefault><w:pPr><w:spacing w:after="0" w:line="240" w:lineRule="auto"/></w:pPr></w:pPrDefault>'
        "</w:docDefaults>"
        '<w:style w:type="paragraph" w:default="1" w:styleId="Standard"><w:name w:val="Normal"/><w:qFormat/></w:style>'
        '<w:style w:type="character" w:default="1" w:styleId="Absatz-Standardschriftart">'
        '<w:name w:val="Default Paragraph Font"/><w:uiPriority w:val="1"/><w:semiHidden/></w:style>'
        '<w:style w:type="table" w:default="1" w:styleId="NormaleTabelle"><w:name w:val="Normal Table"/>'
        '<w:semiHidden/><w:tblPr><w:tblInd w:w="0" w:type="dxa"/><w:tblCellMar>'
        '<w:top w:w="0" w:type="dxa"/><w:left w:w="108" w:type="dxa"/>'
        '<w:bottom w:w="0" w:type="dxa"/><w:right w:w="108" w:type="dxa"/>'
        "</w:tblCellMar></w:tblPr></w:style>"
        + w_style("Absenderzeile", '<w:spacing w:after="113"/>', '<w:sz w:val="14"/><w:szCs w:val="14"/><w:u w:val="single"/>')
        + w_style("Anschrift")
        + w_style("Datum", '<w:spacing w:before="482"/><w:jc w:val="right"/>')
        + w_style("Betreff", '<w:spacing w:before="482" w:after="482"/>', "<w:b/><w:bCs/>")
        + w_style("Brieftext", '<w:spacing w:after="238"/>')
        + w_style("Unterschrift", '<w:spacing w:before="680"/>')
        + "</w:styles>"
    ).replace("%s", W_NS, 1)


def docx_settings():
    return (
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        "<w:settings %s>"
        '<w:defaultTabStop w:val="708"/>'
        '<w:hyphenationZone w:val="425"/>'
        '<w:characterSpacingControl w:val="doNotCompress"/>'
        '<w:compat><w:compatSetting w:name="compatibilityMode" w:uri="http://schemas.microsoft.com/office/word" w:val="15"/></w:compat>'
        "</w:settings>" % W_NS
    )


def make_dotx(path):
    content_types = (
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
        '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
        '<Default Extension="xml" ContentType="application/xml"/>'
        '<Override PartName="/word/document.xml" '
        'ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml"/>'
        '<Override PartName="/word/styles.xml" '
        'ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"/>'
        '<Override PartName="/word/settings.xml" '
        'ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.settings+xml"/>'
        '<Override PartName="/docProps/core.xml" '
        'ContentType="application/vnd.openxmlformats-package.core-properties+xml"/>'
        '<Override PartName="/docProps/app.xml" '
        'ContentType="application/vnd.openxmlformats-officedocument.extended-properties+xml"/>'
        "</Types>"
    )
    package_rels = (
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId1" Type="%sofficeDocument" Target="word/document.xml"/>'
        '<Relationship Id="rId2" '
        'Type="http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties" '
        'Target="docProps/core.xml"/>'
        '<Relationship Id="rId3" Type="%sextended-properties" Target="docProps/app.xml"/>'
        "</Relationships>" % (REL, REL)
    )
    document_rels = (
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId1" Type="%sstyles" Target="styles.xml"/>'
        '<Relationship Id="rId2" Type="%ssettings" Target="settings.xml"/>'
        "</Relationships>" % (REL, REL)
    )
    core = (
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<cp:coreProperties xmlns:cp="http://schemas.openxmlformats.org/package/2006/metadata/core-properties" '
        'xmlns:dc="http://purl.org/dc/elements/1.1/"><dc:title>Brief</dc:title></cp:coreProperties>'
    )
    app = (
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<Properties xmlns="http://schemas.openxmlformats.org/officeDocument/2006/extended-properties">'
        "<Application>Orvella</Application></Properties>"
    )
    write_zip(
        path,
        [
            ("[Content_Types].xml", content_types, False),
            ("_rels/.rels", package_rels, False),
            ("word/document.xml", docx_document(), False),
            ("word/_rels/document.xml.rels", document_rels, False),
            ("word/styles.xml", docx_styles(), False),
            ("word/settings.xml", docx_settings(), False),
            ("docProps/core.xml", core, False),
            ("docProps/app.xml", app, False),
        ],
    )


def write_qrc():
    """defaults.qrc lists every file below defaults/, which the program finds under
    ":/defaults" and copies into a new home folder."""
    root = os.path.join(HERE, "defaults")
    files = []
    for folder, _, names in os.walk(root):
        for name in names:
            files.append(os.path.relpath(os.path.join(folder, name), HERE).replace(os.sep, "/"))
    lines = ["<!DOCTYPE RCC>", '<RCC version="1.0">', '<qresource prefix="/">']
    lines += ["    <file>%s</file>" % escape(f) for f in sorted(files)]
    lines += ["</qresource>", "</RCC>", ""]
    with open(os.path.join(HERE, "defaults.qrc"), "w", encoding="utf-8") as out:
        out.write("\n".join(lines))


if __name__ == "__main__":
    os.makedirs(TARGET, exist_ok=True)
    make_ott(os.path.join(TARGET, "Brief.ott"))
    make_dotx(os.path.join(TARGET, "Brief.dotx"))
    write_qrc()
    print("written:", os.path.join(TARGET, "Brief.ott"), os.path.join(TARGET, "Brief.dotx"),
          os.path.join(HERE, "defaults.qrc"))
