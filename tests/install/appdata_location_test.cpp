// The per-user folder that pelto-cli computes without Qt is the folder the windows'
// standard application-data location names, for the same environment.
#include "common/program_folders.h"
#include "platform/program_facts.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTest>
#include <cstdlib>

namespace {

class AppDataLocationTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { pelto::ui::ApplyProgramIdentity(); }

    void agreesWithTheCommandLine_data() {
        QTest::addColumn<QByteArray>("xdgDataHome");
        QTest::addColumn<QByteArray>("home");
        QTest::newRow("home only") << QByteArray() << QByteArray("/home/ann");
        QTest::newRow("empty data home") << QByteArray("") << QByteArray("/home/bo");
        QTest::newRow("data home") << QByteArray("/srv/data/ann") << QByteArray("/home/ann");
        QTest::newRow("relative data home") << QByteArray("rel/data") << QByteArray("/home/cy");
    }

    void agreesWithTheCommandLine() {
        QFETCH(QByteArray, xdgDataHome);
        QFETCH(QByteArray, home);
        const QByteArray oldXdg = qgetenv("XDG_DATA_HOME");
        const QByteArray oldHome = qgetenv("HOME");
        if (xdgDataHome.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", xdgDataHome);
        qputenv("HOME", home);
        const QString qt = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        const std::string cli =
            pelto::PerUserDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")).string();
        qputenv("HOME", oldHome);
        if (oldXdg.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", oldXdg);
        QCOMPARE(qt, QString::fromStdString(cli));
    }

    void identityNamesTheDesktopEntry() {
        QCOMPARE(QGuiApplication::desktopFileName(),
                 QStringLiteral(PELTO_APP_ID)); // the installed entry
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Pelto"));
        QCOMPARE(QCoreApplication::applicationVersion(), pelto::ui::VersionText());
    }
};

} // namespace

QTEST_MAIN(AppDataLocationTest)
#include "appdata_location_test.moc"
