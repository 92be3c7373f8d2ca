#include "DunningLetterPrint.h"

#include "Formats.h"
#include "PrintCanvas.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

DunningLetterPrint::DunningLetterPrint(const Document &letter, const QString &customerNumber, const PrintSetup &setup)
    : m_letter(letter), m_customer(customerNumber), m_setup(setup)
{
}

bool DunningLetterPrint::bodyLineFits(const QString &line, int sizeOffset)
{
    // Measured at the printers' 254 dots per inch: one dot is a tenth of a millimetre.
    QImage device(1, 1, QImage::Format_Mono);
    device.setDotsPerMeterX(10000);
    device.setDotsPerMeterY(10000);
    const PrintFonts fonts(&device, sizeOffset);
    return QFontMetricsF(fonts.font(PrintFonts::S1600), &device).horizontalAdvance(line) <= RightEdge - BodyLeft;
}

QString DunningLetterPrint::title() const
{
    return QString::number(m_letter.dunningLevel) + QStringLiteral(". Mahnung zur Rechnung ")
           + PadNumber(m_letter.invoiceNumber);
}

void DunningLetterPrint::paint(QPainter &painter, const QPaintDevice &device) const
{
    // Letters are fitted like documents, with the font scale of the options.
    const PrintFonts fonts(&device, m_setup.sizeOffset);
    PrintCanvas canvas(painter, m_setup, fonts);
    const DocumentAddress &postal = m_letter.address;
    const DocumentAddress &billing = m_letter.secondAddress;
    const bool billingFilled = !(billing.name.isEmpty() && billing.street.isEmpty() && billing.postcodeTown.isEmpty());
    LetterHead head;
    head.sender = m_letter.ownCompany;
    head.windowLabel = m_letter.addressLeft ? QStringLiteral("Postanschrift:")
                       : billingFilled      ? QStringLiteral("Rechnungsanschrift:")
                                            : QString();
    const DocumentAddress &left = m_letter.addressLeft ? billing : postal;
    const DocumentAddress &right = m_letter.addressLeft ? postal : billing;
    head.left = {left.name, left.street, left.postcodeTown};
    head.right = {right.name, right.street, right.postcodeTown};
    head.date = m_letter.date;
    head.customer = m_customer;
    head.project = PadNumber(m_letter.projectNumber);
    head.projectBeforeBlank = true;
    if (m_letter.number > 0) {
        // the letter's own number, in the row above the date as a document's date of service
        head.serviceLabel = QStringLiteral("Mahnung Nr.:");
        head.serviceValue = PadNumber(m_letter.number);
    }
    head.page = QStringLiteral("1/1");
    canvas.letterHead(head);
    canvas.text(250, 940, title(), fonts.font(PrintFonts::S1800, true));
    const QFont body = fonts.font(PrintFonts::S1600);
    for (int k = 0; k < BodyLines && k < m_letter.letterLines.size(); ++k)
        canvas.text(BodyLeft, 1060 + 55 * k, m_letter.letterLines.at(k), body);
    canvas.footer(m_setup.footer);
}
