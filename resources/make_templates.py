#!/usr/bin/env python3
"""Builds the shipped word-processor templates, each as OpenDocument (.ott) and Word
(.dotx) template: the letter Brief (folder Allgemein) and the export templates of
the project window's pages (one per folder, see EXPORTS below).

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

The export templates are letters for a window envelope (DIN 5008, form B): the
address field of 85 x 45 mm at 45 mm from the top edge with the return address
above the recipient, the information block beside it, the subject, the salutation,
the line table at the bookmark "Tabelle", the totals and the closing, and page
numbers in the footer. The line table takes its look from the table style
"Tabelle" (Word) or the styles "TabelleKopf" and "TabelleInhalt" (OpenDocument).

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


# ================================================================ export templates

# One template per page of the project window: (folder, file name, label of the
# document number in the information block, introduction, label of the gross amount).
# Folder None is the dunning letter, the project page has its own layout.
BUSINESS = [
    ("Angebote", "Angebot", "Angebots-Nr.",
     "gerne unterbreiten wir Ihnen folgendes Angebot:", "Angebotssumme"),
    ("Auftr\u00e4ge", "Auftrag", "Auftrags-Nr.",
     "vielen Dank f\u00fcr Ihren Auftrag, den wir wie folgt best\u00e4tigen:", "Auftragssumme"),
    ("Lieferscheine", "Lieferschein", "Lieferschein-Nr.",
     "wie vereinbart liefern wir Ihnen:", "Warenwert"),
    ("Rechnungen", "Rechnung", "Rechnungs-Nr.",
     "f\u00fcr unsere Lieferungen und Leistungen berechnen wir Ihnen:", "Rechnungsbetrag"),
    ("Gutschriften", "Gutschrift", "Gutschrift-Nr.",
     "wir schreiben Ihnen folgende Betr\u00e4ge gut:", "Gutschriftsbetrag"),
    ("Ablage", "Ablage", "Vorgangs-Nr.",
     "wir haben folgende Positionen f\u00fcr Sie zusammengestellt:", "Gesamtbetrag"),
]

BUSINESS_BOOKMARKS = ["Absender", "FiPe", "Strasse", "PLZOrt", "Datum", "ProjektNr", "KundenNr", "VorgangsArt",
                      "VorgangsNr", "UnterText", "Skonto", "Nettowert", "MwSt", "EndBetrag", "GRNr", "SAnrede",
                      "Tabelle"]
DUNNING_BOOKMARKS = ["Absender", "FiPe", "Strasse", "PLZOrt", "Datum", "ProjektNr", "KundenNr", "VorgangsArt",
                     "VorgangsNr", "MahnText"]
PROJECT_BOOKMARKS = ["Projekt", "Datum", "Name", "Adresse", "LAdresse", "RAdresse", "Bemerkung"]

TAB = ("tab",)

# Paragraph styles of the export templates, sizes in points and centimetres.
# size, bold, colour, underline, align, before, after, exact line height, right tab
# stop, rule above, keep with next, left indent.
EXPORT_STYLES = {
    "Standard": {},
    "Kopfraum": {"line": 2.5},  # room for the letterhead above the address field
    "Ruecksendeangabe": {"size": 7, "underline": True, "before": 1.27, "after": 0.15},
    "Anschrift": {},
    "InfoblockOben": {"size": 9, "before": 1.27, "after": 0.08, "tab": 6.4},
    "Infoblock": {"size": 9, "after": 0.08, "tab": 6.4},
    "Betreff": {"size": 14, "bold": True, "before": 0.85, "after": 0.2, "keep": True},
    "Bezug": {"after": 0.2},
    "Brieftext": {"after": 0.42},
    "Tabellenanker": {"size": 2, "line": 0.1},
    "Summe": {"align": "right", "before": 0.05, "indent": 8.5},
    "SummeErste": {"align": "right", "before": 0.4, "indent": 8.5},
    "SummeFett": {"align": "right", "bold": True, "before": 0.05, "rule": True, "indent": 8.5},
    "Abschnitt": {"bold": True, "before": 0.42, "keep": True},
    "Fusszeile": {"size": 8, "colour": "606060", "align": "center"},
    "Unterschrift": {"before": 1.2},
    # text of the line table (the writer's cells take them as parents)
    "TabelleKopf": {"size": 8, "bold": True, "colour": "FFFFFF"},
    "TabelleInhalt": {"size": 9},
}

TABLE_HEAD_FILL = "2F4A6D"
TABLE_RULE = "A6A6A6"

# The address field (left, 10 cm: the field from 2.5 cm) and the information block
# (right, from 12.5 cm to the right margin), one row of 4.5 cm.
ADDRESS_COLUMNS = (10.0, 6.5)
ADDRESS_HEIGHT = 4.5


def P(style, *parts):
    return ("p", style, list(parts))


def BM(name):
    return ("bm", name)


def address_block(left, right):
    return ("address", left, right)


def info(label, bookmark, first=False):
    return P("InfoblockOben" if first else "Infoblock", label, TAB, BM(bookmark))


def business_body(title, number_label, intro, gross_label):
    infos = [info(number_label, "VorgangsNr", True), info("Datum", "Datum")]
    if title in ("Rechnung", "Gutschrift"):
        # the date of service (or its period) that every invoice must state
        infos.append(info("Leistungsdatum", "Leistungsdatum"))
    infos += [info("Kunden-Nr.", "KundenNr"), info("Projekt-Nr.", "ProjektNr")]
    body = [
        P("Kopfraum"),
        address_block(
            [P("Ruecksendeangabe", BM("Absender")), P("Anschrift", BM("FiPe")), P("Anschrift", BM("Strasse")),
             P("Anschrift", BM("PLZOrt"))],
            infos),
        P("Betreff", BM("VorgangsArt")),
    ]
    if title == "Gutschrift":
        body.append(P("Bezug", BM("GRNr")))
    body += [
        P("Brieftext", BM("SAnrede")),
        P("Brieftext", intro),
        P("Tabellenanker", BM("Tabelle")),
        P("SummeErste", "Nettowert: ", BM("Nettowert")),
        P("SummeFett", gross_label + ": ", BM("EndBetrag")),
        # the VAT lines last: the list always sends three lines, some of them empty
        P("Summe", "enthaltene MwSt.: ", BM("MwSt")),
        P("Brieftext", BM("Skonto")),
    ]
    if title == "Rechnung":
        body.append(P("Brieftext", BM("Zahlungsziel")))
    body += [
        P("Brieftext", BM("UnterText")),
        P("Brieftext", "Mit freundlichen Gr\u00fc\u00dfen"),
    ]
    return body


def dunning_body():
    return [
        P("Kopfraum"),
        address_block(
            [P("Ruecksendeangabe", BM("Absender")), P("Anschrift", BM("FiPe")), P("Anschrift", BM("Strasse")),
             P("Anschrift", BM("PLZOrt"))],
            [info("Mahnungs-Nr.", "VorgangsNr", True), info("Datum", "Datum"), info("Kunden-Nr.", "KundenNr"),
             info("Projekt-Nr.", "ProjektNr")]),
        P("Betreff", BM("VorgangsArt")),
        P("Brieftext", BM("MahnText")),
        P("Brieftext", "Mit freundlichen Gr\u00fc\u00dfen"),
    ]


def project_body():
    return [
        P("Kopfraum"),
        address_block([P("Ruecksendeangabe", ""), P("Anschrift", BM("Name")), P("Anschrift", BM("Adresse"))],
                      [info("Datum", "Datum", True)]),
        P("Betreff", "Projekt ", BM("Projekt")),
        P("Abschnitt", "Lieferanschrift"),
        P("Brieftext", BM("LAdresse")),
        P("Abschnitt", "Rechnungsanschrift"),
        P("Brieftext", BM("RAdresse")),
        P("Abschnitt", "Bemerkung"),
        P("Brieftext", BM("Bemerkung")),
    ]


def bookmarks_of(body):
    out = []
    for block in body:
        paragraphs = [block] if block[0] == "p" else block[1] + block[2]
        for _, _, parts in paragraphs:
            out += [p[1] for p in parts if isinstance(p, tuple) and p[0] == "bm"]
    return out


# ---------------------------------------------------------------- OpenDocument

def cm(value):
    return "%.2fcm" % value


def odf_export_style(name, st):
    para = []
    text = []
    if "size" in st:
        text.append('fo:font-size="%dpt"' % st["size"])
    if st.get("bold"):
        text.append('fo:font-weight="bold" style:font-weight-asian="bold" style:font-weight-complex="bold"')
    if "colour" in st:
        text.append('fo:color="#%s"' % st["colour"])
    if st.get("underline"):
        text.append('style:text-underline-style="solid" style:text-underline-width="auto" '
                    'style:text-underline-color="font-color"')
    if "align" in st:
        para.append('fo:text-align="%s"' % {"right": "end", "center": "center"}[st["align"]])
    if "before" in st:
        para.append('fo:margin-top="%s"' % cm(st["before"]))
    if "after" in st:
        para.append('fo:margin-bottom="%s"' % cm(st["after"]))
    if "line" in st:
        para.append('fo:line-height="%s"' % cm(st["line"]))
    if st.get("rule"):
        para.append('fo:border-top="0.5pt solid #000000" fo:padding-top="0.05cm"')
    if st.get("keep"):
        para.append('fo:keep-with-next="always"')
    if "indent" in st:
        para.append('fo:margin-left="%s"' % cm(st["indent"]))
    out = '<style:style style:name="%s" style:family="paragraph"' % name
    if name != "Standard":
        out += ' style:parent-style-name="Standard"'
    out += ' style:class="text">'
    if para or "tab" in st:
        out += "<style:paragraph-properties %s>" % " ".join(para)
        if "tab" in st:
            out += ('<style:tab-stops><style:tab-stop style:position="%s" style:type="right"/>'
                    "</style:tab-stops>" % cm(st["tab"]))
        out += "</style:paragraph-properties>"
    if text:
        out += "<style:text-properties %s/>" % " ".join(text)
    return out + "</style:style>"


def odf_export_paragraph(style, parts):
    inner = ""
    for part in parts:
        if part == TAB:
            inner += "<text:tab/>"
        elif isinstance(part, tuple):
            inner += '<text:bookmark text:name="%s"/>' % part[1]
        else:
            inner += escape(part)
    return '<text:p text:style-name="%s">%s</text:p>' % (style, inner)


def odf_export_content(body):
    xml = ""
    for block in body:
        if block[0] == "p":
            xml += odf_export_paragraph(block[1], block[2])
            continue
        _, left, right = block
        xml += ('<table:table table:name="Adressfeld" table:style-name="Adressfeld">'
                '<table:table-column table:style-name="Adressfeld.A"/>'
                '<table:table-column table:style-name="Adressfeld.B"/>'
                '<table:table-row table:style-name="Adressfeld.1">')
        for cell in (left, right):
            xml += '<table:table-cell table:style-name="Adressfeld.Z" office:value-type="string">'
            xml += "".join(odf_export_paragraph(s, p) for _, s, p in cell)
            xml += "</table:table-cell>"
        xml += "</table:table-row></table:table>"
    return (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        "<office:document-content %s>"
        "<office:automatic-styles>"
        '<style:style style:name="Adressfeld" style:family="table">'
        '<style:table-properties style:width="%s" table:align="left" fo:margin-top="0cm" fo:margin-bottom="0cm"/>'
        "</style:style>"
        '<style:style style:name="Adressfeld.A" style:family="table-column">'
        '<style:table-column-properties style:column-width="%s"/></style:style>'
        '<style:style style:name="Adressfeld.B" style:family="table-column">'
        '<style:table-column-properties style:column-width="%s"/></style:style>'
        '<style:style style:name="Adressfeld.1" style:family="table-row">'
        '<style:table-row-properties style:row-height="%s" fo:keep-together="always"/></style:style>'
        '<style:style style:name="Adressfeld.Z" style:family="table-cell">'
        '<style:table-cell-properties fo:padding="0cm" fo:border="none" style:vertical-align="top"/></style:style>'
        "</office:automatic-styles>"
        "<office:body><office:text>%s</office:text></office:body>"
        "</office:document-content>"
        % (ODF_NS, cm(sum(ADDRESS_COLUMNS)), cm(ADDRESS_COLUMNS[0]), cm(ADDRESS_COLUMNS[1]), cm(ADDRESS_HEIGHT),
           xml)
    )


def odf_export_styles():
    paragraph_styles = "".join(odf_export_style(name, st) for name, st in EXPORT_STYLES.items())
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
        '<style:text-properties style:font-name="Arial" fo:font-size="10pt" '
        'fo:language="de" fo:country="DE"/>'
        "</style:default-style>"
        + paragraph_styles
        + '<style:style style:name="TabelleKopf" style:family="table-cell">'
        '<style:table-cell-properties fo:background-color="#%s" fo:padding-top="0.08cm" '
        'fo:padding-bottom="0.08cm" fo:padding-left="0.1cm" fo:padding-right="0.1cm" fo:border="none"/>'
        "</style:style>"
        '<style:style style:name="TabelleInhalt" style:family="table-cell">'
        '<style:table-cell-properties fo:padding-top="0.06cm" fo:padding-bottom="0.06cm" fo:padding-left="0.1cm" '
        'fo:padding-right="0.1cm" fo:border-left="none" fo:border-right="none" fo:border-top="none" '
        'fo:border-bottom="0.5pt solid #%s"/>'
        "</style:style>"
        "</office:styles>"
        "<office:automatic-styles>"
        '<style:page-layout style:name="pm1">'
        '<style:page-layout-properties fo:page-width="21cm" fo:page-height="29.7cm" '
        'style:print-orientation="portrait" fo:margin-top="2cm" fo:margin-bottom="1.2cm" '
        'fo:margin-left="2.5cm" fo:margin-right="2cm"/>'
        '<style:footer-style><style:header-footer-properties fo:min-height="0.5cm" fo:margin-top="0.4cm"/>'
        "</style:footer-style>"
        "</style:page-layout>"
        "</office:automatic-styles>"
        "<office:master-styles>"
        '<style:master-page style:name="Standard" style:page-layout-name="pm1"><style:footer>'
        '<text:p text:style-name="Fusszeile">Seite <text:page-number text:select-page="current">1</text:page-number>'
        " von <text:page-count>1</text:page-count></text:p>"
        "</style:footer></style:master-page>"
        "</office:master-styles>"
        "</office:document-styles>"
        % (TABLE_HEAD_FILL, TABLE_RULE)
    ).replace("%s", ODF_NS, 1)


def odf_export_meta(title):
    return (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        "<office:document-meta %s><office:meta>"
        "<meta:generator>Orvella</meta:generator><dc:title>%s</dc:title>"
        "</office:meta></office:document-meta>" % (ODF_NS, escape(title))
    )


def make_export_ott(path, title, body):
    write_zip(
        path,
        [
            ("mimetype", "application/vnd.oasis.opendocument.text-template", True),
            ("content.xml", odf_export_content(body), False),
            ("styles.xml", odf_export_styles(), False),
            ("meta.xml", odf_export_meta(title), False),
            ("META-INF/manifest.xml", odf_manifest(), False),
        ],
    )


# ---------------------------------------------------------------- Office Open XML

def twips(centimetres):
    return int(round(centimetres / 2.54 * 1440))


def w_export_style(name, st):
    ppr = ""
    if st.get("keep"):
        ppr += "<w:keepNext/>"
    if st.get("rule"):
        ppr += '<w:pBdr><w:top w:val="single" w:sz="4" w:space="2" w:color="000000"/></w:pBdr>'
    if "tab" in st:
        ppr += '<w:tabs><w:tab w:val="right" w:pos="%d"/></w:tabs>' % twips(st["tab"])
    spacing = ""
    if "before" in st:
        spacing += ' w:before="%d"' % twips(st["before"])
    if "after" in st:
        spacing += ' w:after="%d"' % twips(st["after"])
    if "line" in st:
        spacing += ' w:line="%d" w:lineRule="exact"' % twips(st["line"])
    if spacing:
        ppr += "<w:spacing%s/>" % spacing
    if "indent" in st:
        ppr += '<w:ind w:left="%d"/>' % twips(st["indent"])
    if "align" in st:
        ppr += '<w:jc w:val="%s"/>' % st["align"]
    rpr = ""
    if st.get("bold"):
        rpr += "<w:b/><w:bCs/>"
    if "colour" in st:
        rpr += '<w:color w:val="%s"/>' % st["colour"]
    if "size" in st:
        rpr += '<w:sz w:val="%d"/><w:szCs w:val="%d"/>' % (st["size"] * 2, st["size"] * 2)
    if st.get("underline"):
        rpr += '<w:u w:val="single"/>'
    if name == "Standard":
        out = '<w:style w:type="paragraph" w:default="1" w:styleId="Standard"><w:name w:val="Normal"/><w:qFormat/>'
    else:
        out = ('<w:style w:type="paragraph" w:customStyle="1" w:styleId="%s"><w:name w:val="%s"/>'
               '<w:basedOn w:val="Standard"/><w:qFormat/>' % (name, name))
    if ppr:
        out += "<w:pPr>%s</w:pPr>" % ppr
    if rpr:
        out += "<w:rPr>%s</w:rPr>" % rpr
    return out + "</w:style>"


def w_export_paragraph(style, parts, ids):
    inner = ""
    for part in parts:
        if part == TAB:
            inner += "<w:r><w:tab/></w:r>"
        elif isinstance(part, tuple):
            n = ids.setdefault(part[1], len(ids))
            inner += '<w:bookmarkStart w:id="%d" w:name="%s"/><w:bookmarkEnd w:id="%d"/>' % (n, part[1], n)
        elif part:
            inner += w_run(part)
    return '<w:p><w:pPr><w:pStyle w:val="%s"/></w:pPr>%s</w:p>' % (style, inner)


def docx_export_document(body):
    ids = {}
    xml = ""
    for block in body:
        if block[0] == "p":
            xml += w_export_paragraph(block[1], block[2], ids)
            continue
        _, left, right = block
        widths = [twips(c) for c in ADDRESS_COLUMNS]
        none = "".join('<w:%s w:val="nil"/>' % side for side in ("top", "left", "bottom", "right", "insideH", "insideV"))
        xml += (
            '<w:tbl><w:tblPr><w:tblW w:w="%d" w:type="dxa"/><w:tblInd w:w="0" w:type="dxa"/>'
            "<w:tblBorders>%s</w:tblBorders><w:tblLayout w:type=\"fixed\"/>"
            '<w:tblCellMar><w:left w:w="0" w:type="dxa"/><w:right w:w="0" w:type="dxa"/></w:tblCellMar>'
            '<w:tblLook w:val="0000"/></w:tblPr>'
            '<w:tblGrid><w:gridCol w:w="%d"/><w:gridCol w:w="%d"/></w:tblGrid>'
            '<w:tr><w:trPr><w:cantSplit/><w:trHeight w:val="%d" w:hRule="exact"/></w:trPr>'
            % (sum(widths), none, widths[0], widths[1], twips(ADDRESS_HEIGHT))
        )
        for width, cell in zip(widths, (left, right)):
            xml += '<w:tc><w:tcPr><w:tcW w:w="%d" w:type="dxa"/></w:tcPr>' % width
            xml += "".join(w_export_paragraph(s, p, ids) for _, s, p in cell)
            xml += "</w:tc>"
        xml += "</w:tr></w:tbl>"
    section = (
        '<w:sectPr><w:footerReference w:type="default" r:id="rId3"/><w:pgSz w:w="11906" w:h="16838"/>'
        '<w:pgMar w:top="%d" w:right="%d" w:bottom="%d" w:left="%d" '
        'w:header="709" w:footer="%d" w:gutter="0"/></w:sectPr>'
        % (twips(2), twips(2), twips(1.9), twips(2.5), twips(1.2))
    )
    return (
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        "<w:document %s %s><w:body>%s%s</w:body></w:document>" % (W_NS, R_NS, xml, section)
    )


def docx_export_styles():
    table_style = (
        '<w:style w:type="table" w:customStyle="1" w:styleId="Tabelle"><w:name w:val="Tabelle"/>'
        '<w:basedOn w:val="NormaleTabelle"/><w:uiPriority w:val="59"/>'
        '<w:pPr><w:spacing w:after="0"/></w:pPr><w:rPr><w:sz w:val="18"/><w:szCs w:val="18"/></w:rPr>'
        '<w:tblPr><w:tblBorders><w:bottom w:val="single" w:sz="4" w:space="0" w:color="%s"/>'
        '<w:insideH w:val="single" w:sz="4" w:space="0" w:color="%s"/></w:tblBorders>'
        '<w:tblCellMar><w:top w:w="34" w:type="dxa"/><w:left w:w="57" w:type="dxa"/>'
        '<w:bottom w:w="34" w:type="dxa"/><w:right w:w="57" w:type="dxa"/></w:tblCellMar></w:tblPr>'
        '<w:tblStylePr w:type="firstRow"><w:rPr><w:b/><w:bCs/><w:color w:val="FFFFFF"/><w:sz w:val="16"/><w:szCs w:val="16"/></w:rPr>'
        '<w:tcPr><w:shd w:val="clear" w:color="auto" w:fill="%s"/></w:tcPr></w:tblStylePr>'
        "</w:style>" % (TABLE_RULE, TABLE_RULE, TABLE_HEAD_FILL)
    )
    return (
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        "<w:styles %s>"
        "<w:docDefaults>"
        '<w:rPrDefault><w:rPr><w:rFonts w:ascii="Arial" w:hAnsi="Arial" w:eastAsia="Arial" w:cs="Arial"/>'
        '<w:sz w:val="20"/><w:szCs w:val="20"/><w:lang w:val="de-DE" w:eastAsia="de-DE" w:bidi="ar-SA"/>'
        "</w:rPr></w:rPrDefault>"
        '<w:pPrDefault><w:pPr><w:spacing w:after="0" w:line="240" w:lineRule="auto"/></w:pPr></w:pPrDefault>'
        "</w:docDefaults>"
        + "".join(w_export_style(name, st) for name, st in EXPORT_STYLES.items())
        + '<w:style w:type="character" w:default="1" w:styleId="Absatz-Standardschriftart">'
        '<w:name w:val="Default Paragraph Font"/><w:uiPriority w:val="1"/><w:semiHidden/></w:style>'
        '<w:style w:type="table" w:default="1" w:styleId="NormaleTabelle"><w:name w:val="Normal Table"/>'
        '<w:semiHidden/><w:tblPr><w:tblInd w:w="0" w:type="dxa"/><w:tblCellMar>'
        '<w:top w:w="0" w:type="dxa"/><w:left w:w="108" w:type="dxa"/>'
        '<w:bottom w:w="0" w:type="dxa"/><w:right w:w="108" w:type="dxa"/>'
        "</w:tblCellMar></w:tblPr></w:style>"
        + table_style
        + "</w:styles>"
    ).replace("%s", W_NS, 1)


def docx_export_footer():
    def field(instr):
        return ('<w:fldSimple w:instr=" %s "><w:r><w:t>1</w:t></w:r></w:fldSimple>' % instr)
    return (
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        "<w:ftr %s><w:p><w:pPr><w:pStyle w:val=\"Fusszeile\"/></w:pPr>%s%s%s%s</w:p></w:ftr>"
        % (W_NS, w_run("Seite "), field("PAGE"), w_run(" von "), field("NUMPAGES"))
    )


def make_export_dotx(path, title, body):
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
        '<Override PartName="/word/footer1.xml" '
        'ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.footer+xml"/>'
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
        '<Relationship Id="rId3" Type="%sfooter" Target="footer1.xml"/>'
        "</Relationships>" % (REL, REL, REL)
    )
    core = (
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<cp:coreProperties xmlns:cp="http://schemas.openxmlformats.org/package/2006/metadata/core-properties" '
        'xmlns:dc="http://purl.org/dc/elements/1.1/"><dc:title>%s</dc:title></cp:coreProperties>' % escape(title)
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
            ("word/document.xml", docx_export_document(body), False),
            ("word/_rels/document.xml.rels", document_rels, False),
            ("word/styles.xml", docx_export_styles(), False),
            ("word/settings.xml", docx_settings(), False),
            ("word/footer1.xml", docx_export_footer(), False),
            ("docProps/core.xml", core, False),
            ("docProps/app.xml", app, False),
        ],
    )


def export_templates():
    """(folder, file name, body) of every export template."""
    out = [("Allgemein", "Projekt", project_body())]
    for folder, name, number_label, intro, gross_label in BUSINESS:
        out.append((folder, name, business_body(name, number_label, intro, gross_label)))
    out.append(("Mahnungen", "Mahnung", dunning_body()))
    return out


def check_bookmarks(name, body):
    found = bookmarks_of(body)
    assert len(found) == len(set(found)), (name, found)
    if name == "Projekt":
        expected = PROJECT_BOOKMARKS
    elif name == "Mahnung":
        expected = DUNNING_BOOKMARKS
    elif name == "Gutschrift":
        expected = BUSINESS_BOOKMARKS + ["Leistungsdatum"]
    elif name == "Rechnung":
        expected = [b for b in BUSINESS_BOOKMARKS if b != "GRNr"] + ["Leistungsdatum", "Zahlungsziel"]
    else:  # the credit note's invoice reference means nothing to the other kinds
        expected = [b for b in BUSINESS_BOOKMARKS if b != "GRNr"]
    assert sorted(found) == sorted(expected), (name, found)


if __name__ == "__main__":
    os.makedirs(TARGET, exist_ok=True)
    written = [os.path.join(TARGET, "Brief.ott"), os.path.join(TARGET, "Brief.dotx")]
    make_ott(written[0])
    make_dotx(written[1])
    for folder, name, body in export_templates():
        check_bookmarks(name, body)
        target = os.path.join(HERE, "defaults", folder)
        os.makedirs(target, exist_ok=True)
        ott, dotx = os.path.join(target, name + ".ott"), os.path.join(target, name + ".dotx")
        make_export_ott(ott, name, body)
        make_export_dotx(dotx, name, body)
        written += [ott, dotx]
    print("written:", *written, sep="\n  ")
