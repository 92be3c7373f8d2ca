#pragma once

#include "Amount.h"
#include "NumberInput.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

struct SellerData;

// The rules of the options window that need no widget: what the fields accept,
// how values are shown and written, and the messages.
namespace OptionsRules {

// --- start numbers ------------------------------------------------------------

struct StartNumberField
{
    QString key;   // key in Orbel.ini, section StartNummern
    QString label; // caption in the window
};
// The eight fields in the order of the window.
const QList<StartNumberField> &startNumberFields();
NumberInput::Field startNumberInput(const QString &label);
// True for a text that is a number with the value 0 ("0", "000"): the field is
// emptied at once.
bool isZeroNumber(const QString &typed);
// What "&Speichern" writes for a field: the number as digits, "1" for an empty
// field. Throws ConversionError with the number fields' message.
QString startNumberToStore(const QString &label, const QString &typed);

// --- VAT rates ------------------------------------------------------------------

inline const NumberInput::Field VatInput{NumberInput::Kind::VatRate, QStringLiteral("USt. Satz")};
// The rate typed into the input field; no value when it is empty. Throws
// ConversionError for text that is not a rate.
std::optional<Amount> typedRate(const QString &typed);
// The field's text for a rate of the list: two decimals without "%" ("7,00").
QString rateFieldText(Amount rate);
// "Steuersatz 7.00 % ist schon vorhanden"
QString duplicateRateMessage(Amount rate);

// Where a rate is still in use.
struct VatUsage
{
    int documents = 0; // documents of every kind with a line at that rate
    int articles = 0;
    int projects = 0;  // projects preset to it
    int contacts = 0;  // companies and persons preset to it
    bool any() const { return documents + articles + projects + contacts > 0; }
};
// The question before a rate in use is deleted; empty when it is not used.
QString rateInUseQuestion(Amount rate, const VatUsage &usage);

// --- print settings -------------------------------------------------------------

// The sliders: "Linker Rand" = SHLeft + 50, "Oberer Rand" = 550 − SHTop.
inline constexpr int LeftMin = 0, LeftMax = 500, TopMin = 250, TopMax = 750;
inline int leftSliderOf(int shLeft) { return shLeft + 50; }
inline int shLeftOf(int slider) { return slider - 50; }
inline int topSliderOf(int shTop) { return 550 - shTop; }
inline int shTopOf(int slider) { return 550 - slider; }
// A slider value (tenths of a millimetre) as the field beside it shows it, in
// whole millimetres, rounded: "25", "26" for 255.
QString marginText(int slider);
// The slider value for the millimetres typed into the field beside it; no value
// for an empty field. Throws ConversionError for text that is no margin of the
// slider's range (a whole tenth of a millimetre between min and max).
std::optional<int> typedMargin(const QString &label, const QString &typed, int min, int max);

// "Schriftgrad -5" … "Schriftgrad  0" … "Schriftgrad +5", positions 0 … 10.
QStringList sizeGradeEntries();

// --- additional texts --------------------------------------------------------------

struct TextKind
{
    QString letter;  // ztext.Art
    QString caption; // the tab
};
// Angebot, Auftrag, Lieferschein, Rechnung, Gutschrift.
const QList<TextKind> &textKinds();
// The stored style of a line with the two boxes.
QString styleText(bool bold, bool italic);
bool styleIsBold(const QString &style);
bool styleIsItalic(const QString &style);

// --- dunning templates ------------------------------------------------------------

inline constexpr int TemplateLines = 25;
// The template with the placeholders filled by sample values, as the dunning
// window fills them for a customer Dr. Ines Mustermann.
QStringList previewLines(const QStringList &templateLines);
// The two help texts listing the placeholders.
QString placeholderHelpLeft();
QString placeholderHelpRight();
// Lines beyond the 25th that hold text (numbers from 1); the template cannot
// keep them.
QList<int> linesBeyondLimit(const QStringList &templateLines);
// The template lines (numbers from 1) that, filled with the sample values, are
// wider than a body line of the printed letter at the given font-scale offset.
QList<int> overlongLines(const QStringList &templateLines, int sizeOffset);
QString overlongMessage(const QList<int> &lineNumbers);
QString beyondLimitMessage(const QList<int> &lineNumbers);

// --- seller data ------------------------------------------------------------------

// The German VAT identification number: "DE" and nine digits, the last being
// the check digit (ISO 7064 MOD 11,10). Blanks are ignored, letters may be small.
enum class VatIdState { Empty, Valid, BadForm, BadCheckDigit };
VatIdState checkVatId(const QString &vatId);
// What the user is told about the seller data that look wrong (IBAN, VAT ID),
// one paragraph each; empty when nothing does. The data are stored anyway.
QString sellerDataProblems(const SellerData &seller);
// The footer columns filled from the company and seller data: address; telephone
// and e-mail; bank, IBAN, BIC and account holder; VAT ID, tax number and
// register. Values not given leave no line; what the user wrote in the old
// footer beyond these (a web address, the managing director) follows in its
// column while there is room; the placeholders of a new data set go.
QList<std::array<QString, 4>> footerFromSeller(const SellerData &seller, const QList<std::array<QString, 4>> &old);

} // namespace OptionsRules
