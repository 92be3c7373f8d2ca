#include "TfrmDatevExport.h"

#include "AppState.h"
#include "DatevExportStore.h"
#include "Dialogs.h"
#include "DocumentHistory.h"
#include "Errors.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDateTime>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

TfrmDatevExport::TfrmDatevExport(AppState &state, QWidget *parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("frmDatevExport"));
    setWindowTitle(QStringLiteral("DATEV-Export"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    // The previous month: what the advisor usually asks for.
    const QDate first = QDate::currentDate().addMonths(-1);
    dtVon = new QDateEdit(QDate(first.year(), first.month(), 1), this);
    dtVon->setObjectName(QStringLiteral("dtVon"));
    dtBis = new QDateEdit(QDate(first.year(), first.month(), first.daysInMonth()), this);
    dtBis->setObjectName(QStringLiteral("dtBis"));
    for (QDateEdit *d : {dtVon, dtBis}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    }
    form->addRow(QStringLiteral("&Von:"), dtVon);
    form->addRow(QStringLiteral("&Bis:"), dtBis);
    chkDebitoren = new QCheckBox(QStringLiteral("&Debitoren (Stammdaten der Kunden) mit ausgeben"), this);
    chkDebitoren->setObjectName(QStringLiteral("chkDebitoren"));
    form->addRow(QString(), chkDebitoren);
    layout->addLayout(form);
    lblSettings = new QLabel(this);
    lblSettings->setObjectName(QStringLiteral("lblSettings"));
    lblSettings->setWordWrap(true);
    layout->addWidget(lblSettings);
    auto *buttons = new QHBoxLayout;
    btnExport = new QPushButton(QStringLiteral("&Exportieren…"), this);
    btnExport->setObjectName(QStringLiteral("btnExport"));
    btnClose = new QPushButton(QStringLiteral("&Schließen"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    buttons->addStretch(1);
    buttons->addWidget(btnExport);
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);
    connect(btnExport, &QPushButton::clicked, this, [this] { cmdExport(); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    try {
        const Datev::Settings s = DatevExportStore(m_state.db).loadSettings();
        lblSettings->setText(QStringLiteral("Beraternummer %1, Mandantennummer %2, %3, Bank %4 – einzustellen in den "
                                            "Optionen, Seite „DATEV“.")
                                 .arg(s.consultantNumber.isEmpty() ? QStringLiteral("–") : s.consultantNumber,
                                      s.clientNumber.isEmpty() ? QStringLiteral("–") : s.clientNumber,
                                      s.chart == Datev::Chart::Skr04 ? QStringLiteral("SKR04") : QStringLiteral("SKR03"))
                                 .arg(s.bankAccount));
    } catch (const OrvellaError &e) {
        lblSettings->setText(e.message());
    }
}

QStringList TfrmDatevExport::cmdExport()
{
    const Datev::Period period{dtVon->date(), dtBis->date()};
    if (period.to < period.from) {
        m_state.dialogs.error(QStringLiteral("Das Ende des Zeitraums liegt vor seinem Anfang."));
        return {};
    }
    try {
        DatevExportStore store(m_state.db);
        Datev::Settings settings = store.loadSettings();
        settings.fiscalYearStart = DatevExportStore::fiscalYearStart(settings.fiscalYearStart, period.from);
        settings.exportedBy = DocumentEditor::of(m_state).user;
        const DatevExportStore::PeriodRecords records = store.read(period);
        const QDateTime now = QDateTime::currentDateTime();
        const Datev::ExportResult batch =
            Datev::exportBookingBatch(settings, period, now, records.documents, records.payments);
        QStringList problems = batch.problems;
        Datev::ExportResult debtors;
        if (chkDebitoren->isChecked()) {
            debtors = Datev::exportDebtors(settings, now, records.debtors);
            for (const QString &p : std::as_const(debtors.problems))
                if (!problems.contains(p))
                    problems << p;
        }
        if (!problems.isEmpty()) {
            m_state.dialogs.error(QStringLiteral("Der Zeitraum kann nicht exportiert werden. Es wurde nichts "
                                                 "geschrieben:\n\n")
                                  + problems.join(QLatin1Char('\n')));
            return {};
        }
        const QString folder = m_state.dialogs.existingDirectory(QStringLiteral("Ordner für den DATEV-Export"),
                                                                 QDir::homePath());
        if (folder.isEmpty())
            return {};
        QList<std::pair<QString, QByteArray>> files = {{Datev::bookingBatchFileName(period), batch.bytes}};
        if (chkDebitoren->isChecked())
            files.append({Datev::debtorFileName(), debtors.bytes});
        QStringList written;
        for (const auto &[name, bytes] : files) {
            const QString path = QDir(folder).filePath(name);
            QSaveFile out(path);
            if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
                m_state.dialogs.error(QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden: %2")
                                          .arg(QDir::toNativeSeparators(path), out.errorString()));
                return written;
            }
            written << path;
        }
        m_state.dialogs.information(QStringLiteral("%1 Buchungen wurden geschrieben:\n%2")
                                        .arg(batch.bookingCount)
                                        .arg(QDir::toNativeSeparators(written.join(QLatin1Char('\n')))));
        return written;
    } catch (const OrvellaError &e) {
        m_state.dialogs.error(e.message());
        return {};
    }
}
