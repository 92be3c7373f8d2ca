#include "Schema.h"

#include "SchemaParts.h"

// The numbered upgrade steps that bring an older data set to the current version.
namespace Schema {

using namespace Parts;

QStringList upgradeStatements(int toVersion, DatabaseEngine engine)
{
    // Each later schema change adds a case here: the statements that bring a data
    // set of version toVersion-1 to toVersion. They run in one transaction together
    // with the version change.
    switch (toVersion) {
    case 2:
        return {QStringLiteral("CREATE INDEX IF NOT EXISTS ix_rechnungenop_EDatum_RNR ON rechnungenop (EDatum,RNR)")};
    case 3:
        return {createTableIfMissing(QStringLiteral("firmendaten"), engine),
                QStringLiteral("INSERT INTO firmendaten (Firma) SELECT 1 WHERE NOT EXISTS "
                               "(SELECT 1 FROM firmendaten WHERE Firma = 1)")};
    case 4:
        // The server has had trigram indexes from its first version; a data set
        // made before the address's country and the project's names were searched
        // that way gets theirs here.
        if (engine == DatabaseEngine::PostgreSQL)
            return trigramExtensionStatements() + serverSearchIndexStatements();
        return searchIndexStatements();
    case EInvoiceColumnsStep: {
        // The electronic invoice's columns in one step, so that it moves as one
        // when steps are renumbered.
        const QString add = engine == DatabaseEngine::PostgreSQL ? QStringLiteral("ALTER TABLE %1 ADD COLUMN IF NOT EXISTS %2 TEXT")
                                                                 : QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 TEXT");
        return {add.arg(QStringLiteral("prust"), QStringLiteral("Kategorie")),
                add.arg(QStringLiteral("prust"), QStringLiteral("Befreiungsgrund")),
                add.arg(QStringLiteral("firmamehr"), QStringLiteral("Kaeuferreferenz")),
                add.arg(QStringLiteral("firmamehr"), QStringLiteral("ERechnung")),
                add.arg(QStringLiteral("namemehr"), QStringLiteral("Kaeuferreferenz")),
                add.arg(QStringLiteral("namemehr"), QStringLiteral("ERechnung"))};
    }
    case ContactTextStep:
        if (engine == DatabaseEngine::PostgreSQL)
            return contactTextStatements();
        return {};
    case IssuedDocumentsStep: {
        QStringList out;
        const auto add = [engine](const QString &table, const QString &column, Type type) {
            return QStringLiteral("ALTER TABLE %1 ADD COLUMN %2%3 %4")
                .arg(table, engine == DatabaseEngine::PostgreSQL ? QStringLiteral("IF NOT EXISTS ") : QString(), column,
                     typeSql(type, engine));
        };
        // Documents stored before keep the gross amount rounded once from the
        // exact sums (an empty BruttoRegel), so that nothing they were issued
        // with moves by a cent.
        for (const QString &x : docBases())
            out << add(x, QStringLiteral("BruttoRegel"), Type::Text);
        for (const QString &x : {QStringLiteral("rechnungen"), QStringLiteral("gutschriften")}) {
            out << add(x, QStringLiteral("LDatum"), Type::Date) << add(x, QStringLiteral("LDatumBis"), Type::Date)
                << add(x, QStringLiteral("Ausgestellt"), Type::Text);
            // Whatever was stored before may have gone out already: it counts as issued.
            out << QStringLiteral("UPDATE %1 SET Ausgestellt='%2' WHERE Ausgestellt IS NULL")
                       .arg(x, IssuedBeforeUpgrade);
        }
        out << add(QStringLiteral("teilbuchung"), QStringLiteral("Skonto"), Type::Text);
        const QStringList history = {QStringLiteral("belegverlauf"), QStringLiteral("belegverlaufartikel"),
                                     QStringLiteral("belegverlaufanschrift"), QStringLiteral("belegverlaufztext")};
        for (const QString &table : history)
            out << createTableIfMissing(table, engine);
        for (const Index &ix : indexes())
            if (history.contains(ix.table))
                out << createIndex(ix, true);
        return out;
    }
    case ExtensionSchemaStep:
        if (engine != DatabaseEngine::PostgreSQL)
            return {};
        // A data set made with the extension in its own schema could never be
        // restored (its schema is dropped and made anew, which the extension
        // prevents): the extension moves out of it.
        return QStringList{QStringLiteral("CREATE SCHEMA IF NOT EXISTS %1").arg(ExtensionSchema),
                           QStringLiteral("DO $$ BEGIN IF EXISTS (SELECT 1 FROM pg_extension e JOIN pg_namespace n "
                                          "ON n.oid = e.extnamespace WHERE e.extname = 'pg_trgm' AND n.nspname = "
                                          "current_schema()) THEN ALTER EXTENSION pg_trgm SET SCHEMA %1; END IF; "
                                          "END $$")
                               .arg(ExtensionSchema)};
    case SaveTokenStep: {
        QStringList out;
        for (const QString &x : docBases() + QStringList{QStringLiteral("mahnungen")})
            out << QStringLiteral("ALTER TABLE %1 ADD COLUMN %2Speicherkennung TEXT")
                       .arg(x, engine == DatabaseEngine::PostgreSQL ? QStringLiteral("IF NOT EXISTS ") : QString())
                << createIndex({x, QStringLiteral("Speicherkennung"), false}, true);
        return out;
    }
    case LoginAttemptsStep:
        return {createTableIfMissing(QStringLiteral("anmeldeversuche"), engine),
                createIndex({QStringLiteral("anmeldeversuche"), QStringLiteral("Name"), true}, true)};
    case ShortTermStep:
        // the file's indexes are made anew with the appended characters
        if (engine == DatabaseEngine::PostgreSQL)
            return quickListStatements();
        return searchIndexStatements();
    case BankImportStep:
        return {createTableIfMissing(QStringLiteral("bankbuchungen"), engine),
                createIndex({QStringLiteral("bankbuchungen"), QStringLiteral("Schluessel"), true}, true),
                QStringLiteral("ALTER TABLE firmendaten ADD COLUMN %1WeitereKonten TEXT")
                    .arg(engine == DatabaseEngine::PostgreSQL ? QStringLiteral("IF NOT EXISTS ") : QString())};
    case ReceivedInvoiceStep:
        return {createTableIfMissing(QStringLiteral("eingangsrechnungen"), engine),
                createIndex({QStringLiteral("eingangsrechnungen"), QStringLiteral("SHA256"), true}, true),
                createIndex({QStringLiteral("eingangsrechnungen"), QStringLiteral("Faellig"), false}, true)};
    case DatevStep:
        return {createTableIfMissing(QStringLiteral("datev"), engine),
                createIndex({QStringLiteral("datev"), QStringLiteral("Schluessel"), true}, true)};
    default:
        return {};
    }
}

} // namespace Schema
