#include "Settings.h"

#include "Errors.h"
#include "FileModes.h"
#include "IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>

namespace {

const QString Organisation = QStringLiteral("Halvard");
const QString Application = QStringLiteral("Orbel");
const QString Group = QStringLiteral("1");

IniFile orbelIni(const QString &exeDir)
{
    return IniFile(OrbelIniPath(exeDir));
}

} // namespace

UserSettings::UserSettings()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             Organisation, Application))
{
    m_settings->beginGroup(Group);
}

UserSettings::~UserSettings()
{
    // Written when the object goes: then made the account's own.
    m_settings->sync();
    KeepPrivate(QFileInfo(m_settings->fileName()).absolutePath());
    KeepPrivate(m_settings->fileName());
}

std::optional<int> UserSettings::readInt(const QString &name) const
{
    const QVariant v = m_settings->value(name);
    if (!v.isValid())
        return std::nullopt;
    bool ok = false;
    const int i = v.toString().trimmed().toInt(&ok);
    return ok ? std::optional<int>(i) : std::nullopt;
}

std::optional<bool> UserSettings::readBool(const QString &name) const
{
    const QVariant v = m_settings->value(name);
    if (!v.isValid())
        return std::nullopt;
    const QString s = v.toString().trimmed().toLower();
    if (s == QLatin1String("1") || s == QLatin1String("true"))
        return true;
    if (s == QLatin1String("0") || s == QLatin1String("false"))
        return false;
    return std::nullopt;
}

std::optional<QString> UserSettings::readString(const QString &name) const
{
    const QVariant v = m_settings->value(name);
    if (!v.isValid())
        return std::nullopt;
    return v.toString();
}

void UserSettings::writeInt(const QString &name, int value)
{
    m_settings->setValue(name, value);
}

void UserSettings::writeBool(const QString &name, bool value)
{
    m_settings->setValue(name, value ? 1 : 0);
}

void UserSettings::writeString(const QString &name, const QString &value)
{
    m_settings->setValue(name, value);
}

void UserSettings::remove(const QString &name)
{
    m_settings->remove(name);
}

void UserSettings::sync()
{
    m_settings->sync();
    KeepPrivate(m_settings->fileName());
}

bool SettingsGroupReader::readInt(const QString &name, int &out)
{
    if (m_failed)
        return false;
    const auto v = m_settings.readInt(name);
    if (!v) {
        m_failed = true;
        return false;
    }
    out = *v;
    return true;
}

bool SettingsGroupReader::readBool(const QString &name, bool &out)
{
    if (m_failed)
        return false;
    const auto v = m_settings.readBool(name);
    if (!v) {
        m_failed = true;
        return false;
    }
    out = *v;
    return true;
}

bool SettingsGroupReader::readString(const QString &name, QString &out)
{
    if (m_failed)
        return false;
    const auto v = m_settings.readString(name);
    if (!v) {
        m_failed = true;
        return false;
    }
    out = *v;
    return true;
}

namespace {

QString &machineSettingsFile()
{
    static QString path = QStringLiteral(ORVELLA_MACHINE_SETTINGS);
    return path;
}

} // namespace

QString MachineSettingsFile()
{
    return machineSettingsFile();
}

void SetMachineSettingsFileForTests(const QString &path)
{
    machineSettingsFile() = path;
}

LoginSwitch ReadLoginSwitch()
{
    const QString path = MachineSettingsFile();
    if (!QFileInfo::exists(path))
        return LoginSwitch::Off;
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly))
        return LoginSwitch::Unreadable;
    probe.close();
    QSettings s(path, QSettings::IniFormat);
    if (s.status() != QSettings::NoError)
        return LoginSwitch::Unreadable;
    const QString v = s.value(Group + QStringLiteral("/IfLogin")).toString().trimmed().toLower();
    return v == QLatin1String("1") || v == QLatin1String("true") ? LoginSwitch::On : LoginSwitch::Off;
}

bool ReadIfLogin()
{
    return ReadLoginSwitch() != LoginSwitch::Off;
}

bool WriteIfLogin(bool value)
{
    const QString path = MachineSettingsFile();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSettings s(path, QSettings::IniFormat);
    if (!s.isWritable())
        return false;
    s.setValue(Group + QStringLiteral("/IfLogin"), value ? 1 : 0);
    s.sync();
    return s.status() == QSettings::NoError;
}

QString AutostartFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/autostart/orvella-sentry.desktop");
}

QString ReadAutostartEntry()
{
    QFile f(AutostartFilePath());
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    QTextStream in(&f);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.startsWith(QLatin1String("Exec=")))
            return line.mid(5).trimmed();
    }
    return QString();
}

void WriteAutostartEntry(const QString &programPath)
{
    const QString path = AutostartFilePath();
    if (programPath.isEmpty()) {
        if (QFile::exists(path) && !QFile::remove(path))
            throw OrvellaError(QStringLiteral("Der Autostart-Eintrag \"%1\" kann nicht entfernt werden.").arg(path));
        return;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
        const QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=Orvella-Sentry\n"
                                            "Comment=Erinnerungen von Orvella\nExec=%1\n"
                                            "X-GNOME-Autostart-enabled=true\n")
                                 .arg(programPath);
        f.write(text.toUtf8());
        if (f.commit())
            return;
    }
    throw OrvellaError(QStringLiteral("Der Autostart-Eintrag \"%1\" kann nicht geschrieben werden.").arg(path));
}

QString OrbelIniPath(const QString &exeDir)
{
    return QDir(exeDir).filePath(QStringLiteral("Orbel.ini"));
}

QString ReadCurrency(const QString &exeDir)
{
    return orbelIni(exeDir).readString(QStringLiteral("Personal"), QStringLiteral("Waehrung"),
                                       QStringLiteral("€"));
}

void WriteCurrency(const QString &exeDir, const QString &symbol)
{
    orbelIni(exeDir).writeString(QStringLiteral("Personal"), QStringLiteral("Waehrung"), symbol);
}

int ReadSizeGrade(const QString &exeDir)
{
    return orbelIni(exeDir).readInteger(QStringLiteral("Personal"), QStringLiteral("SGrad"), 5);
}

void WriteSizeGrade(const QString &exeDir, int grade)
{
    orbelIni(exeDir).writeInteger(QStringLiteral("Personal"), QStringLiteral("SGrad"), grade);
}

int SizeGradeOffset(int grade)
{
    if (grade < 0 || grade > 10)
        return 0;
    return (grade - 5) * 40;
}

int ReadStartNumber(const QString &exeDir, const QString &key)
{
    return orbelIni(exeDir).readInteger(QStringLiteral("StartNummern"), key, 1);
}

void WriteStartNumber(const QString &exeDir, const QString &key, const QString &value)
{
    orbelIni(exeDir).writeString(QStringLiteral("StartNummern"), key, value);
}

QString ReadLastUser(const QString &exeDir)
{
    return orbelIni(exeDir).readString(QStringLiteral("Benutzer"), QStringLiteral("String"),
                                       QStringLiteral("Administrator"));
}

void WriteLastUser(const QString &exeDir, const QString &name)
{
    orbelIni(exeDir).writeString(QStringLiteral("Benutzer"), QStringLiteral("String"), name);
}

QString ReadBackupPath(const QString &exeDir, const QString &key)
{
    return orbelIni(exeDir).readString(QStringLiteral("Backup"), key);
}

void WriteBackupPath(const QString &exeDir, const QString &key, const QString &path)
{
    orbelIni(exeDir).writeString(QStringLiteral("Backup"), key, path);
}

QString EFirmaPath(const QString &exeDir)
{
    return QDir(exeDir).filePath(QStringLiteral("EFirma.ob1"));
}

OwnCompany ReadOwnCompany(const QString &exeDir)
{
    const IniFile ini(EFirmaPath(exeDir));
    const QString key = QStringLiteral("String");
    const QString missing = QStringLiteral("0");
    return {ini.readString(QStringLiteral("EFirmaName"), key, missing),
            ini.readString(QStringLiteral("EFirmaStrasse"), key, missing),
            ini.readString(QStringLiteral("EFirmaPLZ"), key, missing),
            ini.readString(QStringLiteral("EFirmaOrt"), key, missing),
            ini.readString(QStringLiteral("EFirma"), key, missing)};
}

QString SenderLine(const QString &name, const QString &strasse, const QString &plz, const QString &ort)
{
    return name + QStringLiteral(" - ") + strasse + QStringLiteral(" - ") + plz + QLatin1Char(' ') + ort;
}

void WriteOwnCompany(const QString &exeDir, const QString &name, const QString &strasse,
                     const QString &plz, const QString &ort)
{
    IniFile ini(EFirmaPath(exeDir));
    const QString key = QStringLiteral("String");
    ini.writeString(QStringLiteral("EFirmaName"), key, name);
    ini.writeString(QStringLiteral("EFirmaStrasse"), key, strasse);
    ini.writeString(QStringLiteral("EFirmaPLZ"), key, plz);
    ini.writeString(QStringLiteral("EFirmaOrt"), key, ort);
    ini.writeString(QStringLiteral("EFirma"), key, SenderLine(name, strasse, plz, ort));
}
