#include "TfrmFirmenkopf.h"

#include "CommandGuard.h"
#include "Dialogs.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

TfrmFirmenkopf::TfrmFirmenkopf(Dialogs &dialogs, QWidget *parent) : QDialog(parent), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("TfrmFirmenkopf"));
    setWindowTitle(QStringLiteral("Firmenkopf"));
    lblBild = new QLabel(this);
    lblBild->setObjectName(QStringLiteral("lblBild"));
    lblBild->setScaledContents(true); // stretched like the printout stretches it
    lblBild->setFrameShape(QFrame::StyledPanel);
    lblBild->setMinimumHeight(146);
    lblBild->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    const auto button = [this](const char *name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    btnBildLaden = button("btnBildLaden", QStringLiteral("Bild &laden"));
    btnBildLoeschen = button("btnBildLoeschen", QStringLiteral("Bild l&öschen"));
    btnBildOK = button("btnBildOK", QStringLiteral("&OK"));
    btnBildAbbrechen = button("btnBildAbbrechen", QStringLiteral("&Abbrechen"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnBildLaden);
    buttons->addWidget(btnBildLoeschen);
    buttons->addStretch(1);
    buttons->addWidget(btnBildOK);
    buttons->addWidget(btnBildAbbrechen);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblBild, 1);
    layout->addLayout(buttons);
    // The letterhead is printed 175.5 mm wide and 33.6 mm high; the window keeps that shape.
    setFixedWidth(762);
    resize(762, 146 + 60);

    connect(btnBildLaden, &QPushButton::clicked, this, Guarded(m_dialogs, [this] { cmdLoad(); }));
    connect(btnBildLoeschen, &QPushButton::clicked, this, Guarded(m_dialogs, [this] { cmdRemove(); }));
    connect(btnBildOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnBildAbbrechen, &QPushButton::clicked, this, Guarded(m_dialogs, [this] { cmdCancel(); }));
}

void TfrmFirmenkopf::showPicture()
{
    lblBild->setPixmap(m_picture.isNull() ? QPixmap() : QPixmap::fromImage(m_picture));
}

bool TfrmFirmenkopf::loadPicture(const QString &path)
{
    // The file stays the step's letterhead even when it cannot be read now.
    m_picture = path.isEmpty() ? QImage() : QImage(path);
    m_file = path;
    showPicture();
    return !m_picture.isNull();
}

void TfrmFirmenkopf::clearPicture()
{
    m_picture = QImage();
    m_file.clear();
    showPicture();
}

int TfrmFirmenkopf::exec()
{
    m_fileAtOpening = m_file;
    return QDialog::exec();
}

void TfrmFirmenkopf::cmdLoad()
{
    const QString dir = m_file.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)
                                         : QFileInfo(m_file).absolutePath();
    const QString path = m_dialogs.openFileName(QStringLiteral("Bild laden"), dir,
                                                QStringLiteral("Bilder (*.bmp *.png *.jpg *.jpeg *.gif)"));
    if (path.isEmpty())
        return;
    const QImage picture(path);
    if (picture.isNull()) {
        m_dialogs.error(QStringLiteral("Das Bild „%1“ kann nicht geladen werden. Der Firmenkopf bleibt, wie er war.")
                            .arg(path));
        return;
    }
    m_picture = picture;
    m_file = path;
    showPicture();
    Q_EMIT pictureChosen(path);
}

void TfrmFirmenkopf::cmdRemove()
{
    clearPicture();
    Q_EMIT pictureRemoved();
}

void TfrmFirmenkopf::cmdCancel()
{
    // The remembered file is loaded again and stays the letterhead, also when it
    // has gone missing meanwhile (which is said).
    if (!m_fileAtOpening.isEmpty()) {
        if (!loadPicture(m_fileAtOpening))
            m_dialogs.error(QStringLiteral("Image nicht gefunden!"));
        Q_EMIT pictureRestored(m_fileAtOpening);
    } else if (!m_file.isEmpty()) {
        clearPicture();
        Q_EMIT pictureRestored(QString());
    }
    reject();
}
