#include "PdfInfo.h"

#include <QFile>
#include <QRegularExpression>

#include <cstdlib>

namespace {

// A PDF text string: UTF-16BE with its byte-order mark, written in hex.
QByteArray pdfText(const QString &text)
{
    QByteArray hex = "<FEFF";
    for (const QChar c : text)
        hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex + '>';
}

QByteArray pdfDate(const QDateTime &when)
{
    const int offset = when.offsetFromUtc() / 60;
    const QByteArray zone = offset == 0 ? QByteArray("Z")
                                        : QByteArray(offset > 0 ? "+" : "-")
                                              + QByteArray::number(std::abs(offset) / 60).rightJustified(2, '0') + '\''
                                              + QByteArray::number(std::abs(offset) % 60).rightJustified(2, '0') + '\'';
    return "(D:" + when.toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() + zone + ')';
}

} // namespace

bool WritePdfInfo(const QString &path, const PdfInfo &info)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray pdf = file.readAll();
    // The last trailer names the size of the cross-reference table and the
    // catalogue; the last startxref where that table begins.
    const qsizetype trailerAt = pdf.lastIndexOf("trailer");
    const qsizetype startAt = pdf.lastIndexOf("startxref");
    if (trailerAt < 0 || startAt < trailerAt)
        return false;
    const QString trailer = QString::fromLatin1(pdf.mid(trailerAt, startAt - trailerAt));
    static const QRegularExpression sizeRe(QStringLiteral("/Size\\s+(\\d+)"));
    static const QRegularExpression rootRe(QStringLiteral("/Root\\s+(\\d+\\s+\\d+\\s+R)"));
    static const QRegularExpression startRe(QStringLiteral("startxref\\s+(\\d+)"));
    const auto size = sizeRe.match(trailer);
    const auto root = rootRe.match(trailer);
    const auto start = startRe.match(QString::fromLatin1(pdf.mid(startAt)));
    if (!size.hasMatch() || !root.hasMatch() || !start.hasMatch())
        return false;
    const int object = size.captured(1).toInt();

    QByteArray update = pdf.endsWith('\n') ? QByteArray() : QByteArray("\n");
    const qint64 objectAt = pdf.size() + update.size();
    update += QByteArray::number(object) + " 0 obj\n<<\n/Title " + pdfText(info.title) + "\n/Author "
              + pdfText(info.author) + "\n/Creator " + pdfText(info.creator) + "\n/Producer " + pdfText(info.producer)
              + "\n/CreationDate " + pdfDate(info.created) + "\n>>\nendobj\n";
    const qint64 xrefAt = pdf.size() + update.size();
    update += "xref\n" + QByteArray::number(object) + " 1\n" + QByteArray::number(objectAt).rightJustified(10, '0')
              + " 00000 n \n";
    update += "trailer\n<< /Size " + QByteArray::number(object + 1) + " /Root " + root.captured(1).toLatin1()
              + " /Info " + QByteArray::number(object) + " 0 R /Prev " + start.captured(1).toLatin1() + " >>\n";
    update += "startxref\n" + QByteArray::number(xrefAt) + "\n%%EOF\n";
    file.seek(pdf.size());
    return file.write(update) == update.size() && file.flush();
}
