#include "EInvoiceCommand.h"

#include "AppState.h"
#include "Dialogs.h"
#include "Document.h"
#include "EInvoiceSource.h"
#include "Errors.h"
#include "ProjectStore.h"

#include <QDir>
#include <optional>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

QString MissingDataMessage(const QStringList &missing)
{
    if (missing.isEmpty())
        return QString();
    QString text = QStringLiteral("Die E-Rechnung kann nicht erstellt werden. Es fehlen:\n");
    for (const QString &m : missing)
        text += QStringLiteral("\n• ") + m;
    return text + QStringLiteral("\n\nBitte ergänzen Sie die Angaben (Optionen, Kundendaten, Projekt).");
}

namespace {

const QString Caption = QStringLiteral("E-Rechnung speichern");

// The data of a stored document with nothing missing; no value after telling the
// user why not.
std::optional<EInvoice::Data> checkedData(AppState &state, const Document &document, bool saved,
                                          const ProjectValue &project)
{
    if (!saved || document.number <= 0) {
        // The electronic invoice must say what the stored document says.
        state.dialogs.warning(QStringLiteral("Bitte speichern Sie die %1 zuerst.").arg(document.kind.name()), Caption);
        return std::nullopt;
    }
    EInvoice::Data data = EInvoiceSource::gather(state.db, state.ExeDir, document, project);
    const QStringList missing = EInvoice::missingData(data);
    if (!missing.isEmpty()) {
        state.dialogs.warning(MissingDataMessage(missing), Caption);
        return std::nullopt;
    }
    return data;
}

bool writeChecked(AppState &state, const EInvoice::Data &data, const ProjectValue &project, const QString &path,
                  const ZugferdMaker &makePdf)
{
    const bool pdf = QFileInfo(path).suffix().toLower() != QLatin1String("xml");
    if (pdf && !makePdf)
        throw ConversionError(QStringLiteral("Ein ZUGFeRD-PDF kann hier nicht erstellt werden."));
    const EInvoice::Profile form = pdf ? EInvoice::Profile::Zugferd : EInvoice::Profile::XRechnung;
    const QByteArray xml = EInvoice::writeCii(data, form);
    const QByteArray bytes = pdf ? makePdf(xml) : xml;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        state.dialogs.error(QStringLiteral("Die Datei '%1' konnte nicht geschrieben werden: %2")
                                .arg(QDir::toNativeSeparators(path), file.errorString()),
                            Caption);
        return false;
    }
    EInvoiceSource::rememberForm(state.db, project, form);
    return true;
}

} // namespace

bool WriteEInvoice(AppState &state, const Document &document, bool saved, const ProjectValue &project,
                   const QString &path, const ZugferdMaker &makePdf)
{
    const auto data = checkedData(state, document, saved, project);
    return data && writeChecked(state, *data, project, path, makePdf);
}

QString SaveEInvoice(AppState &state, const Document &document, bool saved, const ProjectValue &project,
                     const ZugferdMaker &makePdf)
{
    const auto data = checkedData(state, document, saved, project);
    if (!data)
        return QString();

    const EInvoice::Profile preferred = EInvoiceSource::preferredForm(state.db, project);
    const QString xmlFilter = QStringLiteral("XRechnung (*.xml)");
    const QString pdfFilter = QStringLiteral("ZUGFeRD-PDF (*.pdf)");
    const bool pdfFirst = preferred == EInvoice::Profile::Zugferd && makePdf;
    QString filter = pdfFirst ? pdfFilter + QStringLiteral(";;") + xmlFilter : xmlFilter;
    if (makePdf && !pdfFirst)
        filter += QStringLiteral(";;") + pdfFilter;
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suggested = QDir(dir).filePath(QStringLiteral("%1_%2.%3")
                                                     .arg(document.kind.name(), data->number,
                                                          pdfFirst ? QStringLiteral("pdf") : QStringLiteral("xml")));
    QString path = state.dialogs.saveFileName(Caption + QStringLiteral("…"), suggested, filter);
    if (path.isEmpty())
        return QString();
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("xml") && suffix != QLatin1String("pdf"))
        path += QStringLiteral(".xml");
    return writeChecked(state, *data, project, path, makePdf) ? path : QString();
}
