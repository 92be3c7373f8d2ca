#include "PrintJobFile.h"

#include "Errors.h"
#include "IniFile.h"

#include <QDir>
#include <QRegularExpression>

namespace {

const QString General = QStringLiteral("general");
const QString Count = QStringLiteral("count");
const char *const StepKeys[] = {"count", "prn", "prnName", "bin", "binName", "bmpColor", "bmpName"};

// True when name is "<job>_<digits>", the form of a step section of job.
bool isStepSectionOf(const QString &name, const QString &job)
{
    if (name.size() <= job.size() + 1 || !name.startsWith(job + QLatin1Char('_'), Qt::CaseInsensitive))
        return false;
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    return digits.match(name.mid(job.size() + 1)).hasMatch();
}

} // namespace

const QString PrintJobFile::FileName = QStringLiteral("DruckJob.ini");
const QString PrintJobFile::LastStepRefused = QStringLiteral("Unterjobs geringste Anzahl 1! Löschen abgebrochen!");

int PrintJobStep::copies() const
{
    bool ok = false;
    const int n = count.trimmed().toInt(&ok);
    return ok && n >= 1 ? n : 1;
}

PrintJobFile::PrintJobFile(const QString &exeDir) : m_path(QDir(exeDir).filePath(FileName)) {}

QString PrintJobFile::stepSection(const QString &job, int k)
{
    return job + QLatin1Char('_') + QString::number(k);
}

void PrintJobFile::write(const QString &section, const QString &key, const QString &text, int mode)
{
    IniFile ini(m_path);
    if (mode >= 1) {
        ini.writeString(section, key, QString::number(mode));
    } else if (mode == WriteText) {
        // The letterhead path comes with a trailing line break; only the line counts.
        static const QRegularExpression lineBreak(QStringLiteral("[\r\n]"));
        const int cut = int(text.indexOf(lineBreak));
        ini.writeString(section, key, cut < 0 ? text : text.left(cut));
    } else if (mode == DeleteKey) {
        ini.deleteKey(section, key);
    } else if (mode == EraseSection) {
        ini.eraseSection(section);
    }
    // Flush: every write above has reached the file already.
}

QStringList PrintJobFile::jobNames() const
{
    IniFile ini(m_path);
    const int n = ini.readInteger(General, Count, 0);
    QStringList names;
    for (int i = 1; i <= n; ++i)
        names << ini.readString(General, QString::number(i));
    return names;
}

int PrintJobFile::stepCount(const QString &job) const
{
    return IniFile(m_path).readInteger(job, Count, 0);
}

PrintJobStep PrintJobFile::step(const QString &job, int k) const
{
    IniFile ini(m_path);
    const QString section = stepSection(job, k);
    PrintJobStep s;
    s.count = ini.readString(section, QStringLiteral("count"), s.count);
    s.prn = ini.readString(section, QStringLiteral("prn"), s.prn);
    s.prnName = ini.readString(section, QStringLiteral("prnName"), s.prnName);
    s.bin = ini.readString(section, QStringLiteral("bin"), s.bin);
    s.binName = ini.readString(section, QStringLiteral("binName"), s.binName);
    s.bmpColor = ini.readString(section, QStringLiteral("bmpColor"), s.bmpColor);
    s.bmpName = ini.readString(section, QStringLiteral("bmpName"));
    return s;
}

void PrintJobFile::writeStep(const QString &job, int k, const PrintJobStep &s)
{
    const QString section = stepSection(job, k);
    const QString values[] = {s.count, s.prn, s.prnName, s.bin, s.binName, s.bmpColor, s.bmpName};
    for (int i = 0; i < 7; ++i)
        write(section, QLatin1String(StepKeys[i]), values[i]);
}

void PrintJobFile::createJob(const QString &name)
{
    static const QRegularExpression forbidden(QStringLiteral("[\\[\\]\r\n]"));
    const QStringList jobs = jobNames();
    IniFile ini(m_path);
    bool clash = name.compare(General, Qt::CaseInsensitive) == 0 || ini.sectionExists(name);
    for (const QString &job : jobs)
        clash = clash || job.compare(name, Qt::CaseInsensitive) == 0 || isStepSectionOf(name, job)
                || isStepSectionOf(job, name);
    if (name.trimmed().isEmpty() || name != name.trimmed() || name.contains(forbidden))
        throw OrvellaError(QStringLiteral("„%1“ kann nicht der Name eines Druckjobs sein.").arg(name));
    if (clash)
        throw OrvellaError(QStringLiteral("Der Name „%1“ ist schon vergeben. Bitte wählen Sie einen anderen Namen.")
                               .arg(name));
    const int n = int(jobs.size());
    write(General, Count, QString(), n + 1);
    write(General, QString::number(n + 1), name);
}

bool PrintJobFile::deleteJob(const QString &name)
{
    const QStringList jobs = jobNames();
    const int i = int(jobs.indexOf(name)) + 1;
    if (i < 1)
        return false;
    const int n = int(jobs.size());
    for (int j = i; j < n; ++j)
        write(General, QString::number(j), jobs.at(j));
    write(General, QString::number(n), QString(), DeleteKey);
    write(General, Count, QString::number(n - 1));
    const int m = stepCount(name);
    for (int k = 1; k <= m; ++k)
        write(stepSection(name, k), QString(), QString(), EraseSection);
    write(name, QString(), QString(), EraseSection);
    return true;
}

int PrintJobFile::addStep(const QString &job)
{
    const int m = stepCount(job) + 1;
    write(job, Count, QString(), m);
    return m;
}

bool PrintJobFile::deleteStep(const QString &job, int k)
{
    const int m = stepCount(job);
    if (m <= 1 || k < 1 || k > m)
        return false;
    IniFile ini(m_path);
    for (int j = k; j < m; ++j) {
        const QString from = stepSection(job, j + 1);
        const QString to = stepSection(job, j);
        for (const char *key : StepKeys) {
            const QString k2 = QLatin1String(key);
            if (ini.valueExists(from, k2))
                write(to, k2, ini.readString(from, k2));
            else
                write(to, k2, QString(), DeleteKey);
        }
    }
    write(stepSection(job, m), QString(), QString(), EraseSection);
    write(job, Count, QString::number(m - 1));
    return true;
}
