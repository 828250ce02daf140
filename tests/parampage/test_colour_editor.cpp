// The colour editor: palette clicks and drags, decimal and HTML boxes, the sample box.
#include "page_fixture.h"
#include "test_registry.h"

#include "parampage/colour_editor.h"
#include "parampage/colour_palette.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

using namespace pelto;
using namespace pelto::test;

namespace {

std::string ColourDefinition() {
    return Definition({{"3", "255", "Back", "Background colour"},
                       {"3", "16744448", "Fore", "Text colour"}, // 0xFF8000: blue FF, green 80
                       {"0", "0", "9", "1", "", "1", "Other", ""}});
}

int32_t Rgb(int r, int g, int b) {
    return r + 256 * g + 65536 * b;
}

struct ColourPage {
    ColourPage() : f(ColourDefinition()) {
        editor = static_cast<ui::ColourEditor*>(f.page().FrameDataType[Colour]);
    }
    void Type(QLineEdit* box, const QString& text) {
        box->clear();
        QTest::keyClicks(box, text);
    }
    const ColourParameter& Record(int i = 1) const { return f.ws.Params.ColourParameters[i]; }
    void Commit() {
        f.Select("Other");
        f.Select("Back");
    }
    QString Boxes() const {
        return editor->TxtR->text() + "," + editor->TxtG->text() + "," + editor->TxtB->text() +
               "," + editor->TxtHTMLColourCode->text();
    }

    PageFixture f;
    ui::ColourEditor* editor;
};

} // namespace

class ColourEditorTest : public QObject {
    Q_OBJECT
private slots:
    void showsTheStoredColour() {
        ColourPage p;
        QCOMPARE(p.editor->title(), QString("Back"));
        QCOMPARE(p.editor->lblDescription->text(), QString("Background colour"));
        QCOMPARE(p.Boxes(), QString("255,0,0,FF0000"));
        QCOMPARE(p.editor->PicSolidColour->BackColor(), Rgb(255, 0, 0));
        p.f.Select("Fore");
        QCOMPARE(p.Boxes(), QString("0,128,255,0080FF"));
        QCOMPARE(p.editor->PicPalette->size(), QSize(192, 89));
    }

    void htmlCodes_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("colour");
        QTest::addColumn<QString>("rewritten");
        QTest::newRow("#ff8000") << "#ff8000" << Rgb(255, 128, 0) << "FF8000";
        QTest::newRow("FF8 is padded") << "FF8" << Rgb(255, 128, 0) << "FF8000";
        QTest::newRow("G counts as 0") << "12345G" << Rgb(0x12, 0x34, 0x50) << "123450";
        QTest::newRow("empty is black") << "" << 0 << "000000";
        QTest::newRow("blanks and extra digits") << "  00ff00aa " << Rgb(0, 255, 0) << "00FF00";
    }
    void htmlCodes() {
        QFETCH(QString, code);
        QFETCH(int, colour);
        QFETCH(QString, rewritten);
        QCOMPARE(ui::ParseHtmlColourCode(code), colour);
        ColourPage p;
        p.Type(p.editor->TxtHTMLColourCode, code);
        QTest::mouseClick(p.f.Find<QPushButton>("Command11"), Qt::LeftButton);
        QCOMPARE(p.editor->TxtHTMLColourCode->text(), rewritten);
        QCOMPARE(p.editor->PicSolidColour->BackColor(), colour);
        p.Commit();
        QCOMPARE(p.Record().Colour, colour);
        QCOMPARE(p.Record().Red, int16_t(colour & 0xFF));
        QCOMPARE(p.Record().Green, int16_t((colour >> 8) & 0xFF));
        QCOMPARE(p.Record().Blue, int16_t((colour >> 16) & 0xFF));
    }

    void decimalBoxes_data() {
        QTest::addColumn<QString>("r");
        QTest::addColumn<QString>("g");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("boxes");
        QTest::newRow("above 255") << "300"
                                   << "0"
                                   << "0"
                                   << "255,0,0,FF0000";
        QTest::newRow("leading numbers") << "12abc"
                                         << "x"
                                         << ""
                                         << "12,0,0,0C0000";
        QTest::newRow("halves to even") << "10.5"
                                        << "11.5"
                                        << "-4"
                                        << "10,12,0,0A0C00";
    }
    void decimalBoxes() {
        QFETCH(QString, r);
        QFETCH(QString, g);
        QFETCH(QString, b);
        QFETCH(QString, boxes);
        ColourPage p;
        p.Type(p.editor->TxtR, r);
        p.Type(p.editor->TxtG, g);
        p.Type(p.editor->TxtB, b);
        QTest::mouseClick(p.f.Find<QPushButton>("Command10"), Qt::LeftButton);
        QCOMPARE(p.Boxes(), boxes);
    }

    // A value typed and not taken with ">" or Enter is the colour all the same when the
    // user moves on; a code typed wins over decimal values typed with it.
    void typedTextWithoutTheButtonIsStored_data() {
        QTest::addColumn<QString>("green");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("colour");
        QTest::addColumn<QString>("boxes");
        QTest::newRow("decimal") << "200"
                                 << "" << Rgb(255, 200, 0) << "255,200,0,FFC800";
        QTest::newRow("code") << ""
                              << "0000FF" << Rgb(0, 0, 255) << "0,0,255,0000FF";
        QTest::newRow("both") << "200"
                              << "0000FF" << Rgb(0, 0, 255) << "0,0,255,0000FF";
    }
    void typedTextWithoutTheButtonIsStored() {
        QFETCH(QString, green);
        QFETCH(QString, code);
        QFETCH(int, colour);
        QFETCH(QString, boxes);
        ColourPage p;
        if (!green.isEmpty())
            p.Type(p.editor->TxtG, green);
        if (!code.isEmpty())
            p.Type(p.editor->TxtHTMLColourCode, code);
        p.Commit();
        QCOMPARE(p.Record().Colour, colour);
        QCOMPARE(p.Boxes(), boxes);
    }

    void paletteClickAndLeftDragPickColours() {
        ColourPage p;
        const QImage& palette = ui::PaletteImage();
        QCOMPARE(palette.size(), QSize(192, 89));
        // Row 44 holds the pure colours: red at the left, green at a third, blue at two thirds.
        QCOMPARE(QColor(palette.pixel(0, 44)).name(), QString("#ff0000"));
        QCOMPARE(QColor(palette.pixel(64, 44)).name(), QString("#00ff00"));
        QCOMPARE(QColor(palette.pixel(128, 44)).name(), QString("#0000ff"));
        QVERIFY(qGray(palette.pixel(50, 0)) > 230);
        QVERIFY(qGray(palette.pixel(50, 88)) < 25);

        ui::ColourPalette* pic = p.editor->PicPalette;
        QTest::mousePress(pic, Qt::RightButton, {}, QPoint(64, 44));
        QTest::mouseRelease(pic, Qt::RightButton, {}, QPoint(64, 44));
        QCOMPARE(p.editor->TxtHTMLColourCode->text(), QString("00FF00"));
        // Moving with the right button held changes nothing.
        QMouseEvent rightDrag(QEvent::MouseMove, QPointF(128, 44),
                              pic->mapToGlobal(QPointF(128, 44)), Qt::NoButton, Qt::RightButton,
                              Qt::NoModifier);
        QApplication::sendEvent(pic, &rightDrag);
        QCOMPARE(p.editor->TxtHTMLColourCode->text(), QString("00FF00"));
        // Dragging with the left button follows the pointer while it is on the palette.
        QMouseEvent leftDrag(QEvent::MouseMove, QPointF(128, 44),
                             pic->mapToGlobal(QPointF(128, 44)), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
        QApplication::sendEvent(pic, &leftDrag);
        QCOMPARE(p.editor->TxtHTMLColourCode->text(), QString("0000FF"));
        QMouseEvent outside(QEvent::MouseMove, QPointF(192, 44), pic->mapToGlobal(QPointF(192, 44)),
                            Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pic, &outside);
        QCOMPARE(p.editor->TxtHTMLColourCode->text(), QString("0000FF"));
        QCOMPARE(p.Boxes(), QString("0,0,255,0000FF"));
        p.Commit();
        QCOMPARE(p.Record().Colour, Rgb(0, 0, 255));
        QCOMPARE(p.Record().Blue, int16_t(255));
    }
};

PELTO_REGISTER_TEST(ColourEditorTest)
#include "test_colour_editor.moc"
