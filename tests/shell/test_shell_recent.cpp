// The recent-effects list: order of the ten slots, what the store holds, and the id
// lookups.
#include "platform/settings_store.h"
#include "shell/recent_effects.h"
#include "shell_fixture.h"

#include <QtTest>

using namespace pelto;
using namespace pelto::ui;

class TestRecentEffects : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ShellFixture> fx;

    // The store's ten slots, MRU1 first.
    static QStringList Stored() {
        QStringList values;
        for (int slot = 1; slot <= 10; ++slot)
            values << GetSetting("MRU", QStringLiteral("MRU%1").arg(slot), "<missing>");
        return values;
    }
    static QStringList Padded(QStringList ids) {
        while (ids.size() < 10)
            ids << QString();
        return ids;
    }

private slots:
    void init() {
        fx = std::make_unique<test::ShellFixture>();
        for (int i = 1; i <= 12; ++i) {
            const std::string n = std::to_string(i);
            fx->AddScript({"s" + std::string(i < 10 ? "0" : "") + n + ".hdr", "id" + n,
                           "Effect " + n, "", "Cat"});
        }
        fx->Load();
    }
    void cleanup() { fx.reset(); }

    void newestFirstAndRepeatKeepsOrder() {
        AddRecentEffect(fx->ws, 1); // X
        AddRecentEffect(fx->ws, 2); // Y
        AddRecentEffect(fx->ws, 3); // Z
        QCOMPARE(Stored(), Padded({"id3", "id2", "id1"}));
        AddRecentEffect(fx->ws, 1);
        QCOMPARE(Stored(), Padded({"id3", "id2", "id1"}));
    }

    void eleventhPushesOldestOut() {
        for (int16_t i = 1; i <= 11; ++i)
            AddRecentEffect(fx->ws, i);
        QStringList expected;
        for (int i = 11; i >= 2; --i)
            expected << QStringLiteral("id%1").arg(i);
        QCOMPARE(Stored(), expected);
    }

    void addWritesAllTenSlots() {
        AddRecentEffect(fx->ws, 4);
        QCOMPARE(SettingKeys("MRU").size(), 10);
        QCOMPARE(Stored(), Padded({"id4"}));
    }

    void noScriptIsNotRecorded() {
        AddRecentEffect(fx->ws, 0);
        AddRecentEffect(fx->ws, 99);
        QVERIFY(SettingKeys("MRU").isEmpty());
    }

    void clearEmptiesAllTen() {
        AddRecentEffect(fx->ws, 1);
        AddRecentEffect(fx->ws, 2);
        RecentEffects recent;
        recent.Load();
        recent.Clear();
        QCOMPARE(Stored(), Padded({}));
        for (int slot = 1; slot <= 10; ++slot)
            QVERIFY(recent.Slot(slot).empty());
    }

    void loadReadsSlotsAndDefaultsToEmpty() {
        SaveSetting("MRU", "MRU1", "id5");
        SaveSetting("MRU", "MRU3", "id7");
        RecentEffects recent;
        recent.Load();
        QCOMPARE(QString::fromStdString(recent.Slot(1)), QString("id5"));
        QVERIFY(recent.Slot(2).empty());
        QCOMPARE(QString::fromStdString(recent.Slot(3)), QString("id7"));
        QVERIFY(recent.Slot(0).empty());
        QVERIFY(recent.Slot(11).empty());
    }

    void lookupsById_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        QTest::newRow("first") << "id1" << 1 << "Effect 1";
        QTest::newRow("last") << "id12" << 12 << "Effect 12";
        QTest::newRow("case differs") << "ID1" << 0 << "";
        QTest::newRow("prefix only") << "id" << 0 << "";
        QTest::newRow("empty") << "" << 0 << "";
    }
    void lookupsById() {
        QFETCH(QString, id);
        QFETCH(int, index);
        QFETCH(QString, name);
        QCOMPARE(int(FindScriptById(fx->ws, id.toStdString())), index);
        QCOMPARE(QString::fromStdString(ScriptNameById(fx->ws, id.toStdString())), name);
    }

    void accentedIdRoundTrips() {
        test::ShellFixture accented;
        accented.AddScript({"a.hdr", "caf\xe9", "Caf\xe9 sign", "", "C"});
        accented.Load();
        AddRecentEffect(accented.ws, 1);
        QCOMPARE(GetSetting("MRU", "MRU1"), QString::fromUtf8("caf\u00e9"));
        RecentEffects recent;
        recent.Load();
        QCOMPARE(recent.Slot(1), std::string("caf\xC3\xA9")); // as the program holds it (UTF-8)
        QCOMPARE(int(FindScriptById(accented.ws, recent.Slot(1))), 1);
    }

    void firstOfTwoEqualIdsWins() {
        test::ShellFixture twin;
        twin.AddScript({"a.hdr", "same", "First", "", "C"});
        twin.AddScript({"b.hdr", "same", "Second", "", "C"});
        twin.Load();
        QCOMPARE(int(FindScriptById(twin.ws, "same")), 1);
        QCOMPARE(QString::fromStdString(ScriptNameById(twin.ws, "same")), QString("First"));
    }
};

QTEST_MAIN(TestRecentEffects)
#include "test_shell_recent.moc"
