#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

class AppState;
struct Document;
struct ProjectValue;

// "E-Rechnung speichern…" of the invoice and credit-note pages: checks the data,
// asks for the file (an .xml file is an XRechnung, a .pdf file a ZUGFeRD PDF) and
// writes it; remembers the form for the customer. makePdf turns the XML into the
// hybrid PDF of the printed document; without it only XML can be written.
// Returns the file written, empty when nothing was written.
using ZugferdMaker = std::function<QByteArray(const QByteArray &xml)>;
QString SaveEInvoice(AppState &state, const Document &document, bool saved, const ProjectValue &project,
                     const ZugferdMaker &makePdf);

// Writes the electronic invoice to a file already chosen (an .xml file is an
// XRechnung, anything else a ZUGFeRD PDF), after the same checks. False when
// nothing was written (the user was told why).
bool WriteEInvoice(AppState &state, const Document &document, bool saved, const ProjectValue &project,
                   const QString &path, const ZugferdMaker &makePdf);

// The message that lists what is missing, or empty.
QString MissingDataMessage(const QStringList &missing);
