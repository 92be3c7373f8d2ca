#pragma once

#include "EInvoiceReader.h"

#include <QByteArray>
#include <QString>

// Opens the file of an electronic invoice a supplier sent: an XML file (CII or
// UBL) as it is, a ZUGFeRD / Factur-X PDF by the invoice XML embedded in it.
// Files over 20 MiB and embedded files over 20 MiB are refused, as is a PDF
// without an invoice inside; every refusal is a German message naming the file.
ReceivedInvoiceFile OpenReceivedInvoice(const QByteArray &content, const QString &fileName);

// The XML embedded in a PDF: factur-x.xml, zugferd-invoice.xml or xrechnung.xml
// when present, else the first embedded .xml file. Empty with a message in
// error when there is none or the PDF cannot be read.
QByteArray EmbeddedInvoiceXml(const QByteArray &pdf, const QString &fileName, QString &error);
