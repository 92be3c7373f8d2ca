#pragma once

#include <QString>
#include <QStringList>

// One step of a print job (the editor calls it "Unterauftrag"): on which printer,
// in how many copies and with which letterhead a document is printed. The values
// are the texts stored in the step's section; missing keys read as the defaults.
struct PrintJobStep
{
    QString count = QStringLiteral("0");   // copies as stored; see copies()
    QString prn = QStringLiteral("0");     // position in the printer list when chosen
    QString prnName = QStringLiteral("0"); // the printer, looked up by this name
    QString bin = QStringLiteral("0");     // paper bin: stored, never used for printing
    QString binName = QStringLiteral("0");
    QString bmpColor = QStringLiteral("0"); // anything but "0" prints the letterhead
    QString bmpName;                        // full path of the letterhead picture

    // The copies printing uses: the stored count, 1 when it is missing, not a
    // number or below 1.
    int copies() const;
    bool printsLetterhead() const { return bmpColor != QLatin1String("0"); }

    bool operator==(const PrintJobStep &) const = default;
};

// DruckJob.ini in the home folder: the named print jobs and their steps. Section
// "general" lists the job names (count, 1 … count); each job has a section of its
// own name holding its step count, and each step k a section "<job>_<k>". Every
// operation opens the file, acts and closes it again, so the options window and
// the project window always see the same jobs; a missing file, section or key
// reads as its default.
class PrintJobFile
{
public:
    // The generic write's modes; a mode of 1 or more writes that number.
    enum Mode { WriteText = 0, DeleteKey = -1, EraseSection = -2, Flush = -99 };

    static const QString FileName;     // "DruckJob.ini"
    static const QString LastStepRefused; // the warning when the only step is to go

    explicit PrintJobFile(const QString &exeDir);
    const QString &path() const { return m_path; }

    // Writes text (mode 0, cut at its first line break: a value is one line), the
    // number mode (mode >= 1), deletes the key (-1) or erases the section (-2).
    // Every write reaches the disk at once, so a flush (-99) has nothing left to do.
    // Throws OrvellaError when the file cannot be written.
    void write(const QString &section, const QString &key, const QString &text, int mode = WriteText);

    // The job names in the order of section "general".
    QStringList jobNames() const;
    // The job's step count; 0 when the job has none.
    int stepCount(const QString &job) const;
    PrintJobStep step(const QString &job, int k) const;
    // Writes all seven values of step k.
    void writeStep(const QString &job, int k, const PrintJobStep &step);

    // Appends the name to the job list. The name must be usable as a section of
    // its own: not empty, no brackets or line breaks, not "general" and not the
    // name of another job or step section. Throws OrvellaError otherwise.
    void createJob(const QString &name);
    // Removes the job from the list (the later names move up) and erases its step
    // sections and its own section. A name not in the list changes nothing (false).
    bool deleteJob(const QString &name);
    // Raises the job's step count by one and returns the new step's number.
    int addStep(const QString &job);
    // Deletes step k and moves the later steps up. Refuses (false, nothing
    // changed) when the job has only one step or k is not one of its steps.
    bool deleteStep(const QString &job, int k);

    static QString stepSection(const QString &job, int k);

private:
    QString m_path;
};
