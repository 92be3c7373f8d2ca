#include "WordToolBand.h"

#include <QComboBox>
#include <QDir>
#include <QStyle>
#include <QToolButton>

WordToolBand::WordToolBand(const QString &homeDir, QWidget *parent)
    : QToolBar(QStringLiteral("Wordtool"), parent), m_home(homeDir)
{
    setObjectName(QStringLiteral("wordToolBand"));
    setMovable(false);
    cbVorlage = new QComboBox(this);
    cbVorlage->setObjectName(QStringLiteral("cbVorlage"));
    cbVorlage->setEditable(false);
    cbVorlage->setToolTip(QStringLiteral("Dokumentvorlage"));
    cbVorlage->setMinimumContentsLength(16);
    cbVorlage->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    addWidget(cbVorlage);
    btnWord = new QToolButton(this);
    btnWord->setObjectName(QStringLiteral("btnWord"));
    btnWord->setText(QStringLiteral("Dokument"));
    btnWord->setIcon(QIcon::fromTheme(QStringLiteral("x-office-document"), style()->standardIcon(QStyle::SP_FileIcon)));
    btnWord->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    addWidget(btnWord);
    connect(btnWord, &QToolButton::clicked, this, &WordToolBand::exportRequested);
}

void WordToolBand::showPage(WordExportPage page)
{
    const QString folder = QDir(m_home).filePath(WordTemplateFolder(page));
    const QString chosen = folder == m_folder ? cbVorlage->currentText() : QString();
    m_folder = folder;
    btnWord->setToolTip(WordButtonHint(page));
    cbVorlage->clear();
    cbVorlage->addItems(WordTemplateNames(folder));
    cbVorlage->setCurrentIndex(qMax(0, cbVorlage->findText(chosen)));
}

QString WordToolBand::templateName() const
{
    return cbVorlage->currentText();
}
