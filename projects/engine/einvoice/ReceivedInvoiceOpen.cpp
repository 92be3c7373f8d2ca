#include "ReceivedInvoiceOpen.h"

// This file uses no PointerHolder, the old smart pointer of libqpdf's interface.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFEmbeddedFileDocumentHelper.hh>
#include <qpdf/QPDFFileSpecObjectHelper.hh>

#include <stdexcept>

namespace {

// Collects a stream's decoded bytes, and stops at the limit: a small compressed
// stream may unpack to far more than any invoice.
class LimitedBytes : public Pipeline
{
public:
    LimitedBytes() : Pipeline("invoice xml", nullptr) {}
    void write(unsigned char const *data, size_t len) override
    {
        if (qsizetype(m_bytes.size() + len) > EInvoiceReader::MaxFileSize)
            throw std::length_error("embedded file too large");
        m_bytes.append(reinterpret_cast<const char *>(data), qsizetype(len));
    }
    void finish() override {}
    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

bool isXmlName(const std::string &name)
{
    const QString n = QString::fromStdString(name).toLower();
    return n.endsWith(QLatin1String(".xml"));
}

} // namespace

QByteArray EmbeddedInvoiceXml(const QByteArray &pdf, const QString &fileName, QString &error)
{
    try {
        QPDF q;
        q.setSuppressWarnings(true);
        q.processMemoryFile("invoice.pdf", pdf.constData(), size_t(pdf.size()));
        QPDFEmbeddedFileDocumentHelper files(q);
        const auto embedded = files.getEmbeddedFiles();
        std::shared_ptr<QPDFFileSpecObjectHelper> chosen;
        for (const char *preferred : {"factur-x.xml", "zugferd-invoice.xml", "ZUGFeRD-invoice.xml", "xrechnung.xml"})
            if (const auto it = embedded.find(preferred); it != embedded.end() && !chosen)
                chosen = it->second;
        for (const auto &[name, file] : embedded)
            if (!chosen && isXmlName(name))
                chosen = file;
        if (!chosen) {
            error = QStringLiteral("Die PDF-Datei „%1“ enthält keine elektronische Rechnung (keine eingebettete "
                                   "XML-Datei). Sie ist eine gewöhnliche PDF-Datei.")
                        .arg(fileName);
            return {};
        }
        LimitedBytes bytes;
        if (!chosen->getEmbeddedFileStream().pipeStreamData(&bytes, 0, qpdf_dl_generalized)) {
            error = QStringLiteral("Die in „%1“ eingebettete Rechnung kann nicht gelesen werden.").arg(fileName);
            return {};
        }
        return bytes.bytes();
    } catch (const std::length_error &) {
        error = QStringLiteral("Die in „%1“ eingebettete Datei ist größer als 20 MiB und wird nicht gelesen.")
                    .arg(fileName);
    } catch (const std::exception &) {
        error = QStringLiteral("Die Datei „%1“ ist keine lesbare PDF-Datei.").arg(fileName);
    }
    return {};
}

ReceivedInvoiceFile OpenReceivedInvoice(const QByteArray &content, const QString &fileName)
{
    if (!content.startsWith("%PDF"))
        return EInvoiceReader::read(content, fileName);
    ReceivedInvoiceFile out;
    if (content.size() > EInvoiceReader::MaxFileSize) {
        out.error = QStringLiteral("Die Datei „%1“ ist größer als 20 MiB und wird nicht gelesen.").arg(fileName);
        return out;
    }
    const QByteArray xml = EmbeddedInvoiceXml(content, fileName, out.error);
    return out.error.isEmpty() ? EInvoiceReader::read(xml, fileName) : out;
}
