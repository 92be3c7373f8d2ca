#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// The per-user preferences (window positions, band states, printer choice):
// user-scope QSettings "Halvard"/"Orbel", group "1". Booleans are stored as 0/1.
class UserSettings
{
public:
    UserSettings();
    ~UserSettings();

    // No value when the entry is missing or not of the type asked for.
    std::optional<int> readInt(const QString &name) const;
    std::optional<bool> readBool(const QString &name) const;
    std::optional<QString> readString(const QString &name) const;

    void writeInt(const QString &name, int value);
    void writeBool(const QString &name, bool value);
    void writeString(const QString &name, const QString &value);
    void remove(const QString &name);
    void sync();

private:
    std::unique_ptr<QSettings> m_settings;
};

// Reads one window's group of values in order. The first value that is missing or
// unreadable ends the group: it and every later read report failure, while values
// read before stay with the caller. The window then applies its defaults to the rest.
class SettingsGroupReader
{
public:
    explicit SettingsGroupReader(const UserSettings &settings) : m_settings(settings) {}

    bool readInt(const QString &name, int &out);
    bool readBool(const QString &name, bool &out);
    bool readString(const QString &name, QString &out);
    bool failed() const { return m_failed; }

private:
    const UserSettings &m_settings;
    bool m_failed = false;
};

// The machine-wide switch that asks for a log-in at start: IfLogin in group "1"
// of the machine's settings file, at the place the installation fixed when it was
// built (/etc/xdg/Halvard/Orbel.conf for the package). The place is never looked
// up through the caller's environment, so no one skips the log-in by pointing it
// elsewhere.
QString MachineSettingsFile();
// For tests only: the machine's settings file at another place.
void SetMachineSettingsFileForTests(const QString &path);
enum class LoginSwitch {
    Off,        // no file, or IfLogin not set
    On,
    Unreadable, // the file exists but cannot be read: the log-in is asked for all the same
};
LoginSwitch ReadLoginSwitch();
// Whether the log-in is asked for: on, or the switch cannot be read.
bool ReadIfLogin();
// False when the machine-wide settings cannot be written (only root may).
bool WriteIfLogin(bool value);

// The reminder program's start with the desktop session: a desktop autostart file.
// Returns the program path registered there, or an empty text.
QString ReadAutostartEntry();
// Registers the path; an empty path removes the entry. Throws OrvellaError on failure.
void WriteAutostartEntry(const QString &programPath);
QString AutostartFilePath();

// Orbel.ini in the home folder.
QString OrbelIniPath(const QString &exeDir);
QString ReadCurrency(const QString &exeDir);                 // Personal/Waehrung, "€"
void WriteCurrency(const QString &exeDir, const QString &symbol);
int ReadSizeGrade(const QString &exeDir);                    // Personal/SGrad, 5
void WriteSizeGrade(const QString &exeDir, int grade);
// Printer-unit offset of a size grade: 0 → −200 … 5 → 0 … 10 → 200, else 0.
int SizeGradeOffset(int grade);

// Start numbers of the number ranges (section StartNummern), 1 when missing or not a number.
namespace StartKey {
inline const QString Projekt = QStringLiteral("Projekt");
inline const QString Angebot = QStringLiteral("Angebot");
inline const QString Auftrag = QStringLiteral("Auftrag");
inline const QString Lieferschein = QStringLiteral("Lieferschein");
inline const QString Rechnung = QStringLiteral("Rechnung");
inline const QString Gutschrift = QStringLiteral("Gutschrift");
inline const QString Mahnung = QStringLiteral("Mahnung");
inline const QString Ablage = QStringLiteral("Ablage");
inline const QString Kunden = QStringLiteral("Kunden");
} // namespace StartKey
int ReadStartNumber(const QString &exeDir, const QString &key);
void WriteStartNumber(const QString &exeDir, const QString &key, const QString &value);

QString ReadLastUser(const QString &exeDir);                 // Benutzer/String, "Administrator"
void WriteLastUser(const QString &exeDir, const QString &name);
QString ReadBackupPath(const QString &exeDir, const QString &key); // Backup/PathGesamt|PathRechnung
void WriteBackupPath(const QString &exeDir, const QString &key, const QString &path);

// The own company in EFirma.ob1; a missing value reads as "0".
struct OwnCompany
{
    QString name, strasse, plz, ort, line;
};
QString EFirmaPath(const QString &exeDir);
OwnCompany ReadOwnCompany(const QString &exeDir);
// Writes the four parts and the sender line built from them.
void WriteOwnCompany(const QString &exeDir, const QString &name, const QString &strasse,
                     const QString &plz, const QString &ort);
QString SenderLine(const QString &name, const QString &strasse, const QString &plz, const QString &ort);
