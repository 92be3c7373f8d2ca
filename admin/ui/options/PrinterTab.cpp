#include "PrinterTab.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "NumberEdit.h"
#include "OptionsRules.h"
#include "PrintJobEditor.h"
#include "PrintSettings.h"
#include "Settings.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

using namespace OptionsRules;

namespace {

const char *const PenKeys[] = {"StiftColorS", "StiftLinieS", "StiftColorW", "StiftLinieW"};

QIcon swatch(const QColor &colour)
{
    QPixmap p(14, 14);
    p.fill(colour);
    return QIcon(p);
}

} // namespace

PrinterTab::PrinterTab(AppState &state, QWidget *parent) : OptionsPage(parent), m_state(state)
{
    setObjectName(QStringLiteral("tabDrucker"));
    buildUi();
}

void PrinterTab::buildUi()
{
    Dialogs &dialogs = m_state.dialogs;
    grpDruckoptionen = new QGroupBox(QStringLiteral("Druckoptionen"), this);
    grpDruckoptionen->setObjectName(QStringLiteral("grpDruckoptionen"));

    sldLinkerRand = new QSlider(Qt::Horizontal, grpDruckoptionen);
    sldLinkerRand->setObjectName(QStringLiteral("sldLinkerRand"));
    sldLinkerRand->setRange(LeftMin, LeftMax);
    sldLinkerRand->setTickInterval(50);
    sldLinkerRand->setTickPosition(QSlider::TicksBelow);
    edtLinkerRand = new NumberEdit({NumberInput::Kind::Quantity, QStringLiteral("Linker Rand")}, &dialogs,
                                   grpDruckoptionen);
    edtLinkerRand->setObjectName(QStringLiteral("edtLinkerRand"));
    edtLinkerRand->setMaximumWidth(60);
    // Downwards the top margin grows, as on the paper.
    sldOberrerRand = new QSlider(Qt::Vertical, grpDruckoptionen);
    sldOberrerRand->setObjectName(QStringLiteral("sldOberrerRand"));
    sldOberrerRand->setRange(TopMin, TopMax);
    sldOberrerRand->setInvertedAppearance(true);
    sldOberrerRand->setInvertedControls(true);
    sldOberrerRand->setTickInterval(50);
    sldOberrerRand->setTickPosition(QSlider::TicksRight);
    sldOberrerRand->setMinimumHeight(110);
    edtOberrerRand = new NumberEdit({NumberInput::Kind::Quantity, QStringLiteral("Oberer Rand")}, &dialogs,
                                    grpDruckoptionen);
    edtOberrerRand->setObjectName(QStringLiteral("edtOberrerRand"));
    edtOberrerRand->setMaximumWidth(60);

    const auto combo = [this](const char *name, const QStringList &items) {
        auto *c = new QComboBox(grpDruckoptionen);
        c->setObjectName(QLatin1String(name));
        c->addItems(items);
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        c->setMinimumContentsLength(12);
        return c;
    };
    cbFarbeS = combo("cbFarbeS", GridColourNames());
    cbFarbeW = combo("cbFarbeW", GridColourNames());
    for (QComboBox *c : {cbFarbeS, cbFarbeW})
        for (int i = 0; i < c->count(); ++i)
            c->setItemIcon(i, swatch(GridColour(i)));
    cbLinieS = combo("cbLinieS", GridLineStyleNames());
    cbLinieW = combo("cbLinieW", GridLineStyleNames());

    auto *g = new QGridLayout(grpDruckoptionen);
    auto *left = new QHBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Linker Rand"), grpDruckoptionen));
    left->addWidget(sldLinkerRand, 1);
    left->addWidget(edtLinkerRand);
    left->addWidget(new QLabel(QStringLiteral("mm"), grpDruckoptionen));
    g->addLayout(left, 0, 0, 1, 5);
    auto *top = new QVBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Oberer Rand"), grpDruckoptionen));
    top->addWidget(sldOberrerRand, 1, Qt::AlignHCenter);
    auto *topValue = new QHBoxLayout;
    topValue->addWidget(edtOberrerRand);
    topValue->addWidget(new QLabel(QStringLiteral("mm"), grpDruckoptionen));
    top->addLayout(topValue);
    g->addLayout(top, 0, 5, 5, 1);
    g->addWidget(new QLabel(QStringLiteral("Gitternetzlinien zwischen den Positionen"), grpDruckoptionen), 1, 0, 1, 5);
    g->addWidget(new QLabel(QStringLiteral("Senkrechte Linien"), grpDruckoptionen), 2, 1);
    g->addWidget(new QLabel(QStringLiteral("Waagerechte Linien"), grpDruckoptionen), 2, 3);
    g->addWidget(new QLabel(QStringLiteral("Farbe"), grpDruckoptionen), 3, 0);
    g->addWidget(cbFarbeS, 3, 1);
    g->addWidget(cbFarbeW, 3, 3);
    g->addWidget(new QLabel(QStringLiteral("Linien"), grpDruckoptionen), 4, 0);
    g->addWidget(cbLinieS, 4, 1);
    g->addWidget(cbLinieW, 4, 3);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);

    grpSchriftgrad = new QGroupBox(QStringLiteral("Schriftgrad"), this);
    grpSchriftgrad->setObjectName(QStringLiteral("grpSchriftgrad"));
    cbSchriftgrad = new QComboBox(grpSchriftgrad);
    cbSchriftgrad->setObjectName(QStringLiteral("cbSchriftgrad"));
    cbSchriftgrad->addItems(sizeGradeEntries());
    auto *gradeLayout = new QHBoxLayout(grpSchriftgrad);
    gradeLayout->addWidget(cbSchriftgrad);
    gradeLayout->addStretch(1);

    jobEditor = new PrintJobEditor(m_state, this);

    auto *layout = new QHBoxLayout(this);
    auto *column = new QVBoxLayout;
    column->addWidget(grpDruckoptionen);
    column->addWidget(grpSchriftgrad);
    column->addStretch(1);
    layout->addLayout(column, 3);
    auto *jobs = new QVBoxLayout;
    jobs->addWidget(jobEditor);
    jobs->addStretch(1);
    layout->addLayout(jobs, 2);

    connect(sldLinkerRand, &QSlider::valueChanged, this,
            [this](int v) { RunCommand(m_state.dialogs, [this, v] { leftMoved(v); }); });
    connect(sldOberrerRand, &QSlider::valueChanged, this,
            [this](int v) { RunCommand(m_state.dialogs, [this, v] { topMoved(v); }); });
    connect(edtLinkerRand, &QLineEdit::editingFinished, this, Guarded(dialogs, [this] { leftTyped(); }));
    connect(edtOberrerRand, &QLineEdit::editingFinished, this, Guarded(dialogs, [this] { topTyped(); }));
    for (QComboBox *c : {cbFarbeS, cbLinieS, cbFarbeW, cbLinieW})
        connect(c, &QComboBox::activated, this, Guarded(dialogs, [this] { penChosen(); }));
    connect(cbSchriftgrad, &QComboBox::activated, this,
            [this](int p) { RunCommand(m_state.dialogs, [this, p] { sizeGradeChosen(p); }); });
}

void PrinterTab::load()
{
    UserSettings settings;
    const PrintOrigin origin = ReadPrintOrigin(settings);
    {
        const QSignalBlocker l(sldLinkerRand), t(sldOberrerRand);
        sldLinkerRand->setValue(leftSliderOf(origin.shLeft));
        sldOberrerRand->setValue(topSliderOf(origin.shTop));
    }
    showMargins();
    // A pen that cannot be read puts all four lists at their first entry.
    QList<int> pens;
    for (const char *key : PenKeys)
        if (const auto v = settings.readInt(QLatin1String(key)))
            pens << *v;
    QComboBox *const lists[] = {cbFarbeS, cbLinieS, cbFarbeW, cbLinieW};
    for (int i = 0; i < 4; ++i)
        lists[i]->setCurrentIndex(pens.size() == 4 && pens[i] >= 0 && pens[i] < lists[i]->count() ? pens[i] : 0);
    cbSchriftgrad->setCurrentIndex(std::clamp(ReadSizeGrade(m_state.ExeDir), 0, 10));
    jobEditor->load();
    setModified(false);
}

void PrinterTab::applyPermissions(bool general)
{
    grpDruckoptionen->setEnabled(general);
}

void PrinterTab::showMargins()
{
    edtLinkerRand->setText(marginText(sldLinkerRand->value()));
    edtOberrerRand->setText(marginText(sldOberrerRand->value()));
}

void PrinterTab::leftMoved(int value)
{
    showMargins();
    UserSettings().writeInt(QStringLiteral("SHLeft"), shLeftOf(value));
}

void PrinterTab::topMoved(int value)
{
    showMargins();
    UserSettings().writeInt(QStringLiteral("SHTop"), shTopOf(value));
}

void PrinterTab::leftTyped()
{
    // What the field refuses itself, it reports when it is left.
    if (edtLinkerRand->refusal())
        return;
    const std::optional<int> v = typedMargin(QStringLiteral("Linker Rand"), edtLinkerRand->text(), LeftMin, LeftMax);
    if (v)
        sldLinkerRand->setValue(*v);
    showMargins();
}

void PrinterTab::topTyped()
{
    if (edtOberrerRand->refusal())
        return;
    const std::optional<int> v = typedMargin(QStringLiteral("Oberer Rand"), edtOberrerRand->text(), TopMin, TopMax);
    if (v)
        sldOberrerRand->setValue(*v);
    showMargins();
}

void PrinterTab::penChosen()
{
    UserSettings settings;
    const QComboBox *const lists[] = {cbFarbeS, cbLinieS, cbFarbeW, cbLinieW};
    for (int i = 0; i < 4; ++i)
        settings.writeInt(QLatin1String(PenKeys[i]), std::max(0, lists[i]->currentIndex()));
}

void PrinterTab::sizeGradeChosen(int position)
{
    if (position < 0)
        return;
    WriteSizeGrade(m_state.ExeDir, position);
    // Every printout from now on fits its fonts with the new scale.
    m_state.PrintSizeOffset = SizeGradeOffset(position);
}
