#include "QtDialogs.h"

#include "PrintQuestionDialog.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QTranslator>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace {

QWidget *parentWindow()
{
    return QApplication::activeWindow();
}

QString captionOr(const QString &caption, const QString &fallback)
{
    return caption.isEmpty() ? fallback : caption;
}

void show(QMessageBox::Icon icon, const QString &caption, const QString &text)
{
    QMessageBox box(icon, caption, text, QMessageBox::NoButton, parentWindow());
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

} // namespace

void QtDialogs::information(const QString &text, const QString &caption)
{
    show(QMessageBox::Information, captionOr(caption, QStringLiteral("Information")), text);
}

void QtDialogs::warning(const QString &text, const QString &caption)
{
    show(QMessageBox::Warning, captionOr(caption, QStringLiteral("Warnung")), text);
}

void QtDialogs::error(const QString &text, const QString &caption)
{
    show(QMessageBox::Critical, captionOr(caption, QStringLiteral("Fehler")), text);
}

Dialogs::Answer QtDialogs::question(const QString &text, Buttons buttons, const QString &caption)
{
    if (buttons == Buttons::PrintChoice) {
        PrintQuestionDialog dlg(text, parentWindow());
        if (QScreen *screen = parentWindow() ? parentWindow()->screen() : QGuiApplication::primaryScreen())
            dlg.move(screen->availableGeometry().center() - dlg.rect().center());
        dlg.exec();
        switch (dlg.choice()) {
        case PrintQuestionDialog::SaveAndPrint: return Answer::Yes;
        case PrintQuestionDialog::TestPrint: return Answer::No;
        default: return Answer::Cancel;
        }
    }
    QMessageBox box(QMessageBox::Question, captionOr(caption, QStringLiteral("Bestätigung")), text,
                    QMessageBox::NoButton, parentWindow());
    QPushButton *yes = nullptr, *no = nullptr, *ok = nullptr, *cancel = nullptr;
    switch (buttons) {
    case Buttons::Ok:
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        break;
    case Buttons::OkCancel:
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        cancel = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
        break;
    case Buttons::YesNo:
        yes = box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("Nein"), QMessageBox::NoRole);
        break;
    case Buttons::YesCancel:
        yes = box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
        cancel = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
        break;
    case Buttons::YesNoCancel:
        yes = box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("Nein"), QMessageBox::NoRole);
        cancel = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
        break;
    case Buttons::PrintChoice:
        break;
    }
    box.setDefaultButton(yes ? yes : ok);
    if (cancel)
        box.setEscapeButton(cancel);
    else if (no)
        box.setEscapeButton(no);
    box.exec();
    const auto *clicked = box.clickedButton();
    if (clicked && clicked == yes)
        return Answer::Yes;
    if (clicked && clicked == no)
        return Answer::No;
    if (clicked && clicked == ok)
        return Answer::Ok;
    if (buttons == Buttons::YesNo)
        return Answer::No;
    return Answer::Cancel;
}

std::optional<QString> QtDialogs::inputText(const QString &caption, const QString &prompt,
                                            const QString &initial)
{
    QInputDialog dlg(parentWindow());
    dlg.setWindowTitle(caption);
    dlg.setLabelText(prompt);
    dlg.setTextValue(initial);
    dlg.setOkButtonText(QStringLiteral("OK"));
    dlg.setCancelButtonText(QStringLiteral("Abbrechen"));
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlg.textValue();
}

QString QtDialogs::openFileName(const QString &caption, const QString &dir, const QString &filter)
{
    return QFileDialog::getOpenFileName(parentWindow(), caption, dir, filter);
}

QStringList QtDialogs::openFileNames(const QString &caption, const QString &dir, const QString &filter)
{
    return QFileDialog::getOpenFileNames(parentWindow(), caption, dir, filter);
}

QString QtDialogs::saveFileName(const QString &caption, const QString &dir, const QString &filter)
{
    return QFileDialog::getSaveFileName(parentWindow(), caption, dir, filter);
}

QString QtDialogs::existingDirectory(const QString &caption, const QString &dir)
{
    return QFileDialog::getExistingDirectory(parentWindow(), caption, dir);
}

bool InstallQtGermanTexts()
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        && QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}
