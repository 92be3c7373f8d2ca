#pragma once

#include "PdfInfo.h"
#include "PrintTarget.h"

#include <QByteArray>

// A ZUGFeRD / Factur-X invoice: the printed document as PDF/A-3b with the
// invoice's XML embedded as factur-x.xml. Qt paints the pages as PDF/A-1b;
// libqpdf then adds the attachment, the catalog's /AF entry, the document
// information and the XMP metadata that name the file PDF/A-3 and Factur-X.
namespace ZugferdPdf {

inline constexpr char AttachmentName[] = "factur-x.xml";

// Paints the document on A4 pages (the print's device set-up) into a PDF/A-1b.
// Throws OrvellaError when painting fails.
QByteArray paintPdfA(const PaintCopy &paint, const PdfInfo &info);

// Turns a PDF/A-1b written by Qt into the hybrid invoice. Throws OrvellaError
// when the PDF cannot be read.
QByteArray attach(const QByteArray &pdf, const QByteArray &xml, const PdfInfo &info);

inline QByteArray make(const PaintCopy &paint, const QByteArray &xml, const PdfInfo &info)
{
    return attach(paintPdfA(paint, info), xml, info);
}

// The XMP packet of the hybrid invoice (PDF/A-3b identification, Dublin Core,
// dates and the Factur-X extension schema with its description).
QByteArray xmpMetadata(const PdfInfo &info);

} // namespace ZugferdPdf
