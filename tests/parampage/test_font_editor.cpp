// The font editor: font and size lists, style boxes, and the sample text.
#include "page_fixture.h"
#include "test_registry.h"

#include "parampage/font_editor.h"
#include "platform/text_codec.h"

#include <QCheckBox>
#include <QListWidget>
#include <QTest>

using namespace pelto;
using namespace pelto::test;

namespace {

std::string FontBlock(const std::string& font, const std::string& size, const std::string& name,
                      const std::string& flags = "0") {
    return "*\r\n4\r\n" + font + "\r\n" + flags + "\r\n0\r\n0\r\n0\r\n" + size + "\r\n" + name +
           "\r\nA font\r\n";
}

std::string FontDefinition(const std::string& firstFont, const std::string& secondFont,
                           const std::string& secondSize) {
    return FontBlock(firstFont, "12", "Heading", "1") + FontBlock(secondFont, secondSize, "Body") +
           "// end\r\n";
}

} // namespace

class FontEditorTest : public QObject {
    Q_OBJECT
    QString installed_;
    QString other_;
private slots:
    void initTestCase() {
        // Two fonts this machine offers.
        PageFixture f(FontDefinition("x", "y", "10"));
        auto* names = f.Find<QListWidget>("LstFontNames");
        QVERIFY2(names->count() >= 2, "the system offers fewer than two fonts");
        installed_ = names->item(0)->text();
        other_ = names->item(names->count() - 1)->text();
    }

    void listsTheSizesAndShowsTheStoredFont() {
        PageFixture f(FontDefinition(installed_.toStdString(), other_.toStdString(), "10"));
        auto* editor = static_cast<ui::FontEditor*>(f.page().FrameDataType[Font]);
        QCOMPARE(editor->LstFontSizes->count(), 34);
        QCOMPARE(editor->LstFontSizes->item(0)->text(), QString("6"));
        QCOMPARE(editor->LstFontSizes->item(33)->text(), QString("72"));
        QCOMPARE(editor->title(), QString("Heading"));
        QCOMPARE(editor->LstFontNames->currentItem()->text(), installed_);
        QCOMPARE(editor->LstFontSizes->currentRow(), 3); // 12
        QVERIFY(editor->ChkFontBold->isChecked());
        QVERIFY(editor->LblFontSampleText->font().bold());
        QCOMPARE(editor->LblFontSampleText->font().pointSize(), 12);
        QCOMPARE(editor->LblFontSampleText->text(),
                 QString("This is the sample text. Play with font styles and find best setting "
                         "for your need."));
    }

    void storedSizesSelectTheirLines_data() {
        QTest::addColumn<QString>("size");
        QTest::addColumn<int>("line");
        QTest::newRow("7 halves down to the line of 6") << "7" << 0;
        QTest::newRow("9 halves up to the line of 10") << "9" << 2;
        QTest::newRow("12") << "12" << 3;
        QTest::newRow("72") << "72" << 33;
        QTest::newRow("outside keeps the line") << "100" << 3;
    }
    void storedSizesSelectTheirLines() {
        QFETCH(QString, size);
        QFETCH(int, line);
        PageFixture f(
            FontDefinition(installed_.toStdString(), other_.toStdString(), size.toStdString()));
        f.Select("Body");
        QCOMPARE(f.Find<QListWidget>("LstFontSizes")->currentRow(), line);
    }

    void editingThroughTheControlsIsCommitted() {
        PageFixture f(FontDefinition(installed_.toStdString(), other_.toStdString(), "10"));
        auto* editor = static_cast<ui::FontEditor*>(f.page().FrameDataType[Font]);
        f.Select("Body");
        QCOMPARE(editor->LstFontNames->currentItem()->text(), other_);
        QVERIFY(!editor->ChkFontBold->isChecked());
        QTest::mouseClick(editor->ChkFontItalic, Qt::LeftButton);
        QTest::mouseClick(editor->ChkFontUnderline, Qt::LeftButton);
        QTest::mouseClick(editor->ChkFontStrikethru, Qt::LeftButton);
        QVERIFY(editor->LblFontSampleText->font().italic());
        QVERIFY(editor->LblFontSampleText->font().underline());
        QVERIFY(editor->LblFontSampleText->font().strikeOut());
        ClickRow(editor->LstFontSizes, 9); // 24
        QCOMPARE(editor->LblFontSampleText->font().pointSize(), 24);
        ClickRow(editor->LstFontNames, 0);
        QCOMPARE(editor->LblFontSampleText->font().family(), installed_);
        f.Select("Heading");
        const FontParameter& body = f.ws.Params.FontParameters[2];
        QCOMPARE(body.Size, int16_t(24));
        QCOMPARE(ui::FromBytes(body.FontName), installed_);
        QCOMPARE(body.Bold, int16_t(0));
        QCOMPARE(body.Italic, int16_t(1));
        QCOMPARE(body.Underline, int16_t(1));
        QCOMPARE(body.StrikeThru, int16_t(1));
        f.Select("Body");
        QVERIFY(editor->ChkFontItalic->isChecked());
        QCOMPARE(editor->LstFontSizes->currentRow(), 9);
    }

    void aFontThatIsNotInstalledKeepsThePreviousChoice() {
        PageFixture f(FontDefinition(installed_.toStdString(), "No Such Font Anywhere", "10"));
        f.Select("Body");
        QCOMPARE(f.Find<QListWidget>("LstFontNames")->currentItem()->text(), installed_);
        f.Select("Heading");
        QCOMPARE(ui::FromBytes(f.ws.Params.FontParameters[2].FontName), installed_);
    }
};

PELTO_REGISTER_TEST(FontEditorTest)
#include "test_font_editor.moc"
