#pragma once

#include <QDialog>
#include <QImage>

class Dialogs;
class QLabel;
class QPushButton;

// The letterhead window "Firmenkopf": shows the letterhead picture of the print-
// job step shown in the options and lets the user load another one or remove it.
// The print-job editor writes what the window reports into the step.
class TfrmFirmenkopf : public QDialog
{
    Q_OBJECT
public:
    TfrmFirmenkopf(Dialogs &dialogs, QWidget *parent = nullptr);

    // Loads a picture file and makes it the window's file; false (no picture
    // shown) when it cannot be read.
    bool loadPicture(const QString &path);
    void clearPicture();
    bool hasPicture() const { return !m_picture.isNull(); }
    // The step's letterhead file; empty when it has none.
    QString file() const { return m_file; }
    const QImage &picture() const { return m_picture; }

    // Opening: the file shown now is what "&Abbrechen" goes back to.
    int exec() override;

    // Commands.
    void cmdLoad();
    void cmdRemove();
    void cmdCancel();

    QLabel *lblBild;
    QPushButton *btnBildLaden, *btnBildLoeschen, *btnBildOK, *btnBildAbbrechen;

Q_SIGNALS:
    // "Bild &laden": a new file for the step.
    void pictureChosen(const QString &path);
    // "Bild l&öschen": the step has no letterhead any more.
    void pictureRemoved();
    // "&Abbrechen": the step gets the file it had when the window opened back
    // (empty: none).
    void pictureRestored(const QString &path);

private:
    void showPicture();

    Dialogs &m_dialogs;
    QImage m_picture;
    QString m_file;
    QString m_fileAtOpening;
};
