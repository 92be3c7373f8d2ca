#include "ZugferdPdf.h"

#include "Errors.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QTimeZone>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFEFStreamObjectHelper.hh>
#include <qpdf/QPDFEmbeddedFileDocumentHelper.hh>
#include <qpdf/QPDFFileSpecObjectHelper.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

namespace ZugferdPdf {
namespace {

const QString Failure = QStringLiteral("Das ZUGFeRD-PDF kann nicht erstellt werden.");

QDateTime stamp(const PdfInfo &info)
{
    // Whole seconds: the document information and the XMP data must state the
    // same instant, and the PDF date form has no fractions.
    QDateTime t = info.created.isValid() ? info.created : QDateTime::currentDateTime();
    t = t.toOffsetFromUtc(t.offsetFromUtc());
    return t.addMSecs(-t.time().msec());
}

QString offsetText(const QDateTime &t, const QString &separator)
{
    const int offset = t.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return QStringLiteral("%1%2%3%4")
        .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(separator)
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

// "D:20240315143000+01'00'"
std::string pdfDate(const QDateTime &t)
{
    return (QStringLiteral("D:") + t.toString(QStringLiteral("yyyyMMddHHmmss")) + offsetText(t, QStringLiteral("'"))
            + QLatin1Char('\''))
        .toStdString();
}

// "2024-03-15T14:30:00+01:00"
QString xmpDate(const QDateTime &t)
{
    return t.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + offsetText(t, QStringLiteral(":"));
}

QString esc(const QString &text)
{
    return text.toHtmlEscaped();
}

QString extensionProperty(const char *name, const char *description)
{
    return QStringLiteral("<rdf:li rdf:parseType=\"Resource\">\n"
                          "<pdfaProperty:name>%1</pdfaProperty:name>\n"
                          "<pdfaProperty:valueType>Text</pdfaProperty:valueType>\n"
                          "<pdfaProperty:category>external</pdfaProperty:category>\n"
                          "<pdfaProperty:description>%2</pdfaProperty:description>\n"
                          "</rdf:li>\n")
        .arg(QLatin1String(name), QLatin1String(description));
}

} // namespace

QByteArray xmpMetadata(const PdfInfo &info)
{
    const QDateTime t = stamp(info);
    QString x;
    x += QStringLiteral("<?xpacket begin=\"\uFEFF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
                        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
                        "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n");
    x += QStringLiteral("<rdf:Description rdf:about=\"\" xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\">\n"
                        "<pdfaid:part>3</pdfaid:part>\n<pdfaid:conformance>B</pdfaid:conformance>\n"
                        "</rdf:Description>\n");
    x += QStringLiteral("<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
                        "<dc:format>application/pdf</dc:format>\n"
                        "<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt></dc:title>\n")
             .arg(esc(info.title));
    if (!info.author.isEmpty())
        x += QStringLiteral("<dc:creator><rdf:Seq><rdf:li>%1</rdf:li></rdf:Seq></dc:creator>\n").arg(esc(info.author));
    x += QStringLiteral("</rdf:Description>\n");
    x += QStringLiteral("<rdf:Description rdf:about=\"\" xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\">\n"
                        "<pdf:Producer>%1</pdf:Producer>\n</rdf:Description>\n")
             .arg(esc(info.producer));
    x += QStringLiteral("<rdf:Description rdf:about=\"\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n"
                        "<xmp:CreatorTool>%1</xmp:CreatorTool>\n<xmp:CreateDate>%2</xmp:CreateDate>\n"
                        "<xmp:ModifyDate>%2</xmp:ModifyDate>\n<xmp:MetadataDate>%2</xmp:MetadataDate>\n"
                        "</rdf:Description>\n")
             .arg(esc(info.creator), xmpDate(t));
    x += QStringLiteral("<rdf:Description rdf:about=\"\" xmlns:fx=\"urn:factur-x:pdfa:CrossIndustryDocument:invoice:1p0#\">\n"
                        "<fx:DocumentType>INVOICE</fx:DocumentType>\n"
                        "<fx:DocumentFileName>factur-x.xml</fx:DocumentFileName>\n"
                        "<fx:Version>1.0</fx:Version>\n"
                        "<fx:ConformanceLevel>EN 16931</fx:ConformanceLevel>\n"
                        "</rdf:Description>\n");
    // PDF/A admits properties outside its own schemas only when the file
    // describes them.
    x += QStringLiteral("<rdf:Description rdf:about=\"\" xmlns:pdfaExtension=\"http://www.aiim.org/pdfa/ns/extension/\" "
                        "xmlns:pdfaSchema=\"http://www.aiim.org/pdfa/ns/schema#\" "
                        "xmlns:pdfaProperty=\"http://www.aiim.org/pdfa/ns/property#\">\n"
                        "<pdfaExtension:schemas><rdf:Bag><rdf:li rdf:parseType=\"Resource\">\n"
                        "<pdfaSchema:schema>Factur-X PDFA Extension Schema</pdfaSchema:schema>\n"
                        "<pdfaSchema:namespaceURI>urn:factur-x:pdfa:CrossIndustryDocument:invoice:1p0#</pdfaSchema:namespaceURI>\n"
                        "<pdfaSchema:prefix>fx</pdfaSchema:prefix>\n"
                        "<pdfaSchema:property><rdf:Seq>\n");
    x += extensionProperty("DocumentFileName", "name of the embedded XML invoice file");
    x += extensionProperty("DocumentType", "INVOICE");
    x += extensionProperty("Version", "The actual version of the Factur-X XML schema");
    x += extensionProperty("ConformanceLevel", "The conformance level of the embedded Factur-X data");
    x += QStringLiteral("</rdf:Seq></pdfaSchema:property>\n</rdf:li></rdf:Bag></pdfaExtension:schemas>\n"
                        "</rdf:Description>\n</rdf:RDF>\n</x:xmpmeta>\n<?xpacket end=\"w\"?>");
    return x.toUtf8();
}

QByteArray paintPdfA(const PaintCopy &paint, const PdfInfo &info)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
        writer.setResolution(254);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF());
        writer.setCreator(info.creator);
        writer.setTitle(info.title);
        QPainter painter;
        if (!painter.begin(&writer))
            throw OrvellaError(Failure);
        paint(painter, writer);
        if (!painter.end())
            throw OrvellaError(Failure);
    }
    return bytes;
}

QByteArray attach(const QByteArray &pdf, const QByteArray &xml, const PdfInfo &info)
{
    const QDateTime t = stamp(info);
    try {
        QPDF q;
        q.setSuppressWarnings(true);
        q.processMemoryFile("invoice.pdf", pdf.constData(), size_t(pdf.size()));

        auto stream = QPDFEFStreamObjectHelper::createEFStream(q, xml.toStdString());
        stream.setSubtype("text/xml").setModDate(pdfDate(t)).setCreationDate(pdfDate(t));
        auto fileSpec = QPDFFileSpecObjectHelper::createFileSpec(q, AttachmentName, stream);
        fileSpec.setDescription("Factur-X Invoice");
        fileSpec.getObjectHandle().replaceKey("/AFRelationship", QPDFObjectHandle::newName("/Alternative"));
        QPDFEmbeddedFileDocumentHelper(q).replaceEmbeddedFile(AttachmentName, fileSpec);

        QPDFObjectHandle root = q.getRoot();
        QPDFObjectHandle af = QPDFObjectHandle::newArray();
        af.appendItem(fileSpec.getObjectHandle());
        root.replaceKey("/AF", af);

        QPDFObjectHandle metadata = QPDFObjectHandle::newStream(&q, xmpMetadata(info).toStdString());
        metadata.getDict().replaceKey("/Type", QPDFObjectHandle::newName("/Metadata"));
        metadata.getDict().replaceKey("/Subtype", QPDFObjectHandle::newName("/XML"));
        root.replaceKey("/Metadata", metadata);

        // The document information says what the XMP data says.
        QPDFObjectHandle infoDict = QPDFObjectHandle::newDictionary();
        infoDict.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(info.title.toStdString()));
        if (!info.author.isEmpty())
            infoDict.replaceKey("/Author", QPDFObjectHandle::newUnicodeString(info.author.toStdString()));
        infoDict.replaceKey("/Creator", QPDFObjectHandle::newUnicodeString(info.creator.toStdString()));
        infoDict.replaceKey("/Producer", QPDFObjectHandle::newUnicodeString(info.producer.toStdString()));
        infoDict.replaceKey("/CreationDate", QPDFObjectHandle::newString(pdfDate(t)));
        infoDict.replaceKey("/ModDate", QPDFObjectHandle::newString(pdfDate(t)));
        q.getTrailer().replaceKey("/Info", q.makeIndirectObject(infoDict));

        QPDFWriter w(q);
        w.setOutputMemory();
        // Streams stay as they are: the metadata and the attachment unfiltered,
        // Qt's page contents as Qt compressed them.
        w.setStreamDataMode(qpdf_s_preserve);
        w.setMinimumPDFVersion("1.7");
        w.write();
        std::shared_ptr<Buffer> out(w.getBufferSharedPointer());
        return QByteArray(reinterpret_cast<const char *>(out->getBuffer()), qsizetype(out->getSize()));
    } catch (const std::exception &) {
        throw OrvellaError(Failure);
    }
}

} // namespace ZugferdPdf
