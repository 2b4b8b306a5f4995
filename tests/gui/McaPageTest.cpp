// The MCA page in the running program: its controls, the record fields they store, what the
// start-up puts into them, the spectrum area's geometry, and the ROI group and view commands.

#include <QRadioButton>
#include "app/TextCodec.h"
#include "spectrum/McaPage.h"
#include "spectrum/SpectrumView.h"
#include "support/Harness.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <cstring>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

QStringList itemsOf(const QComboBox* c) {
    QStringList l;
    for (int i = 0; i < c->count(); ++i) l << c->itemText(i);
    return l;
}

// Selects an item the way the operator does: the selection changes, then the change handler runs.
void choose(QComboBox* c, int index) {
    c->setCurrentIndex(index);
    emit c->activated(index);
}

// Writes a record into the information file of `dir` before the program starts there.
void writeRecord(const QString& dir, const InfoRecord& r) {
    QFile f(dir + QStringLiteral("/QOR10MappingV010.inf"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(&r), sizeof r);
}

// A record as a first start creates it, changed by `edit`, then the program started over it.
template <class Edit>
std::unique_ptr<Harness> startWith(QTemporaryDir& dir, Edit edit) {
    InfoRecord r{};
    {
        Harness first(dir.path());
        r = first.rec();
    }
    edit(r);
    writeRecord(dir.path(), r);
    return std::make_unique<Harness>(dir.path());
}

McaPage& page(Harness& h) { return *h.form().MCAcollect; }

}  // namespace

TEST(McaPage, ControlsCarryTheirNamesCaptionsItemsAndHints) {
    Harness h;
    McaPage& p = page(h);
    EXPECT_EQ(QStringLiteral("MCAcollect"), p.objectName());
    EXPECT_EQ(QStringLiteral("MCA"), h.form().PageMaster->tabText(TForm9::kMca));
    EXPECT_EQ(&p, h.find<QWidget>("MCAcollect"));
    EXPECT_EQ(p.Edit17, h.find<QLineEdit>("Edit17"));
    EXPECT_EQ(p.compute, h.find<QPushButton>("compute"));
    EXPECT_EQ(p.PaintBox1, h.find<PaintBox>("PaintBox1"));

    EXPECT_EQ(QStringLiteral("接続MCA"), p.GroupBoxMca->title());
    EXPECT_EQ(QStringLiteral("AUTO COLLECT"), p.GroupBoxAuto->title());
    EXPECT_EQ(QStringLiteral("Spectrum control"), p.GroupBoxSpectrum->title());
    EXPECT_EQ(QStringLiteral("ROI"), p.GroupBoxRoi->title());
    EXPECT_EQ(QStringLiteral("定性処理"), p.GroupBoxAnalysis->title());
    EXPECT_EQ(QStringLiteral(" スペクトル移動 、スペクトル間演算"), p.GroupBoxMove->title());
    EXPECT_EQ(QStringLiteral("View"), p.RadioGroup1->title());

    EXPECT_EQ(QStringLiteral("MCA1 "), p.CheckBox13->text());
    EXPECT_EQ(QStringLiteral("MCA2 "), p.CheckBox14->text());
    EXPECT_TRUE(p.CheckBox13->isChecked());
    EXPECT_FALSE(p.CheckBox14->isChecked());
    EXPECT_EQ((QStringList{"Live", "Real"}), itemsOf(p.ComboBox1));
    EXPECT_EQ((QStringList{"256ch", "512ch", "1024ch", "2048ch", "4096ch"}), itemsOf(p.ComboBox3));
    EXPECT_EQ((QStringList{"LIVE", "REAL"}), itemsOf(p.ComboBox4));
    EXPECT_EQ(QStringLiteral("START"), p.Button5->text());
    EXPECT_EQ(QStringLiteral("STOP"), p.Button4->text());
    EXPECT_EQ(QStringLiteral("CLEAR"), p.Button3->text());
    EXPECT_EQ(QStringLiteral("自動測定開始"), p.Button6->text());
    EXPECT_EQ(QStringLiteral("中止"), p.Button13->text());
    EXPECT_EQ(QStringLiteral("CSV Head"), p.CheckBox49->text());
    EXPECT_EQ(QStringLiteral("CSV形式"), p.CheckBox27->text());
    EXPECT_EQ(QStringLiteral("Binary形式"), p.CheckBox28->text());
    EXPECT_EQ(QStringLiteral("音声"), p.SButton10->text());

    const std::pair<QToolButton*, const char*> hints[] = {
        {p.SpeedButton1, "カーソル位置をＸ軸方向に拡大"},
        {p.SpeedButton2, "カーソル中心にＸ軸を縮小"},
        {p.SpeedButton3, "リニアスケールでスペクトルを上げる"},
        {p.SpeedButton6, "リニアスケールでスペクトルを下げる"},
        {p.SpeedButton4, "ＬＯＧ表示にする"},
        {p.SpeedButton5, "ライン表示ドット表示切替"},
        {p.SpeedButton12, "左がわのスペクトルを見る"},
        {p.SpeedButton13, "右側のスペクトルを見る"},
        {p.SpeedButton25, "オーバーラップ表示設定"},
        {p.SpeedButton45, "ROI 対 scanPha 軸"},
        {p.SpeedButton31, "スペクトル→ＷＯＲＫ"},
        {p.SpeedButton7, "スペクトル全体をぬりつぶす"},
        {p.SpeedButton11, "元素名表示のＯＮ／ＯＦＦ"},
        {p.SpeedButton26, "自動でピークを設定します"},
        {p.SpeedButton27, "カーソルに近いピークを探して、ROIを設定する"},
        {p.SpeedButton29, "カーソルに近いピークの半値幅を計算する"},
        {p.SpeedButton28, "スムージング処理をする"},
        {p.SpeedButton8, "エネルギー校正を行う"},
        {p.SpeedButton9, "定性処理のパラメータを設定する"}};
    // The hints; the zoom buttons' name their keys after them.
    for (const auto& [button, hint] : hints)
        EXPECT_TRUE(button->toolTip().startsWith(QString::fromUtf8(hint)))
            << button->objectName().toStdString();
    EXPECT_EQ(QStringLiteral("カーソル位置をＸ軸方向に拡大  [+]"), p.SpeedButton1->toolTip());
    EXPECT_EQ(QStringLiteral("カーソル中心にＸ軸を縮小  [-]"), p.SpeedButton2->toolTip());
    EXPECT_FALSE(p.SpeedButton45->isEnabled());
    EXPECT_FALSE(p.SpeedButton7->isEnabled());
    EXPECT_FALSE(p.SpeedButton11->isEnabled());

    ASSERT_EQ(3, p.RadioGroup1->count());
    EXPECT_EQ(QStringLiteral("MCA1"), p.RadioGroup1->item(0));
    EXPECT_EQ(QStringLiteral("MCA2"), p.RadioGroup1->item(1));
    EXPECT_EQ(QStringLiteral("WORK"), p.RadioGroup1->item(2));
    EXPECT_EQ(0, p.RadioGroup1->itemIndex());

    EXPECT_EQ(QStringLiteral("▲"), p.Button7->text());
    EXPECT_EQ(QStringLiteral("▼"), p.Button8->text());
    EXPECT_EQ(QStringLiteral("SET"), p.Button9->text());
    EXPECT_EQ(QStringLiteral("CLR"), p.Button10->text());
    EXPECT_EQ(QStringLiteral("All Clear"), p.Button11->text());
    EXPECT_EQ(QStringLiteral("CallROI"), p.Button15->text());
    EXPECT_EQ(QStringLiteral("JUMP"), p.Button12->text());
    EXPECT_TRUE(p.Edit17->font().bold());
    EXPECT_EQ(QColor(255, 0, 0), p.Edit17->palette().color(QPalette::Text));

    const QStringList slotItems{"MCA1", "MCA2", "WORK"};
    for (QComboBox* c : {p.CbBOXsorce, p.CbBOXdist, p.CBanser, p.CB1, p.CB2})
        EXPECT_EQ(slotItems, itemsOf(c)) << c->objectName().toStdString();
    EXPECT_EQ(QStringLiteral("MCA1"), p.CbBOXsorce->currentText());
    EXPECT_EQ(QStringLiteral("WORK"), p.CbBOXdist->currentText());
    EXPECT_EQ(QStringLiteral("WORK"), p.CBanser->currentText());
    EXPECT_EQ(QStringLiteral("MCA1"), p.CB1->currentText());
    EXPECT_EQ(QStringLiteral("MCA2"), p.CB2->currentText());
    EXPECT_EQ((QStringList{"＋", "－", "×", "÷"}), itemsOf(p.CBop));
    EXPECT_EQ(1, p.CBop->currentIndex());
    EXPECT_EQ(QStringLiteral("COPY"), p.Button14->text());
    EXPECT_EQ(QStringLiteral("演算"), p.compute->text());
}

TEST(McaPage, FirstStartFillsTheControlsFromTheCreatedRecord) {
    Harness h;
    McaPage& p = page(h);
    EXPECT_EQ(QStringLiteral("100"), p.Edit14->text());
    EXPECT_EQ(100, h.rec().McaPresetValue[0]);
    EXPECT_EQ(QStringLiteral("CAVREL"), p.Edit15->text());
    EXPECT_EQ(QStringLiteral("100"), p.Edit22->text());
    EXPECT_EQ(QString(), p.Edit21->text());
    EXPECT_EQ(3, p.ComboBox3->currentIndex());
    EXPECT_EQ(0, p.ComboBox1->currentIndex());
    EXPECT_EQ(0, p.ComboBox4->currentIndex());
    EXPECT_TRUE(p.CheckBox28->isChecked());
    EXPECT_FALSE(p.CheckBox27->isChecked());
    EXPECT_FALSE(p.CheckBox49->isChecked());
    for (int s = 0; s < 5; ++s) EXPECT_EQ(2048, h.rec().SlotViewChannels[s]) << s;
    EXPECT_EQ(QStringLiteral("1"), p.Edit17->text());
    EXPECT_EQ(QStringLiteral("0"), p.Edit18->text());
    EXPECT_EQ(QStringLiteral("0"), p.Edit19->text());
    EXPECT_EQ(QColor(255, 0, 0), p.Edit25->palette().color(QPalette::Base));
    EXPECT_EQ(1, h.st().spectrum.CurrentRoi[0]);
    EXPECT_TRUE(p.SButton10->isChecked()) << "the sound switch shows VoiceOn";
}

TEST(McaPage, StartupRestoresTheSavedSettingsButPresetsMca1FromTheStartValue) {
    QTemporaryDir dir;
    auto h = startWith(dir, [](InfoRecord& r) {
        r.McaPresetValue[0] = 555;
        r.McaPresetValue[1] = 777;
        r.CurrentSlot = 1;
        r.StartPresetValue = 321;
        r.McaChannels[0] = 4096;
        r.McaPresetMode[0] = 1;
        r.CollectMode = 1;
        r.CollectRepeatCount = 12;
        r.CsvHeader = 1;
        r.SaveCsv = 1;
        r.SaveBinary = 0;
        storeSjis(r.CollectFileName, QStringLiteral("測定ファイル"));
        storeSjis(r.CollectName, QStringLiteral("RUN7"));
        r.RoiStart[0][1] = 40;
        r.RoiEnd[0][1] = 60;
    });
    McaPage& p = page(*h);
    InfoRecord& r = h->rec();
    EXPECT_EQ(QStringLiteral("321"), p.Edit14->text());
    EXPECT_EQ(321, r.McaPresetValue[0]) << "whatever preset was saved";
    EXPECT_EQ(777, r.McaPresetValue[1]);
    EXPECT_EQ(4, p.ComboBox3->currentIndex());
    for (int s = 0; s < 5; ++s) EXPECT_EQ(4096, r.SlotViewChannels[s]) << s;
    EXPECT_EQ(1, p.ComboBox1->currentIndex());
    EXPECT_EQ(1, p.ComboBox4->currentIndex());
    EXPECT_EQ(QStringLiteral("RUN7"), p.Edit15->text());
    EXPECT_EQ(QStringLiteral("12"), p.Edit22->text());
    EXPECT_TRUE(p.CheckBox49->isChecked());
    EXPECT_TRUE(p.CheckBox27->isChecked());
    EXPECT_FALSE(p.CheckBox28->isChecked());
    EXPECT_EQ(QStringLiteral("測定ファイル"), p.Edit21->text());
    EXPECT_EQ(0, r.CurrentSlot);
    EXPECT_EQ(QStringLiteral("40"), p.Edit18->text()) << "ROI 1 of MCA1 is shown";
    EXPECT_EQ(QStringLiteral("60"), p.Edit19->text());
    // The spectrum view starts on MCA1 with the start-up window.
    EXPECT_EQ(0, h->st().spectrum.ViewSlot);
    EXPECT_EQ(0, h->st().spectrum.FullScale);
}

TEST(McaPage, StartupLeavesTheChannelComboForAnUnknownChannelCount) {
    QTemporaryDir dir;
    auto h = startWith(dir, [](InfoRecord& r) {
        r.McaChannels[0] = 1000;
        r.McaPresetMode[0] = 7;
    });
    McaPage& p = page(*h);
    EXPECT_EQ(3, p.ComboBox3->currentIndex());
    EXPECT_EQ(0, p.ComboBox1->currentIndex());
    EXPECT_EQ(1000, h->rec().SlotViewChannels[4]);
}

TEST(McaPage, McaControlsStoreIntoTheSelectedMcas) {
    Harness h;
    McaPage& p = page(h);
    InfoRecord& r = h.rec();
    r.McaChannels[1] = 2048;
    r.SlotViewChannels[1] = 2048;
    const int32_t mca2Preset = r.McaPresetValue[1];

    // Only MCA1 selected.
    p.Edit14->setText(QStringLiteral("250 s"));
    EXPECT_EQ(250, r.McaPresetValue[0]);
    p.Edit14->setText(QStringLiteral("abc"));
    EXPECT_EQ(250, r.McaPresetValue[0]) << "a text without a number leaves the field";
    p.ComboBox3->setCurrentIndex(4);
    EXPECT_EQ(2048, r.McaChannels[0]) << "a selection from code stores nothing";
    choose(p.ComboBox3, 4);
    EXPECT_EQ(4096, r.McaChannels[0]);
    EXPECT_EQ(4096, r.SlotViewChannels[0]);
    EXPECT_EQ(2048, r.McaChannels[1]);
    EXPECT_EQ(2048, r.SlotViewChannels[1]);
    choose(p.ComboBox1, 1);
    EXPECT_EQ(1, r.McaPresetMode[0]);
    EXPECT_EQ(0, r.McaPresetMode[1]);

    // Both selected, then only MCA2.
    p.CheckBox14->setChecked(true);
    EXPECT_EQ(1, r.Mca2Enabled);
    choose(p.ComboBox3, 0);
    EXPECT_EQ(256, r.McaChannels[0]);
    EXPECT_EQ(256, r.McaChannels[1]);
    EXPECT_EQ(256, r.SlotViewChannels[1]);
    p.CheckBox13->setChecked(false);
    EXPECT_EQ(0, r.Mca1Enabled);
    choose(p.ComboBox1, 0);
    EXPECT_EQ(1, r.McaPresetMode[0]);
    EXPECT_EQ(0, r.McaPresetMode[1]);
    p.Edit14->setText(QStringLiteral("999"));
    EXPECT_EQ(250, r.McaPresetValue[0]) << "the preset box writes MCA1 only";
    EXPECT_EQ(mca2Preset, r.McaPresetValue[1]);
}

TEST(McaPage, AutoCollectSettingsAreStored) {
    Harness h;
    McaPage& p = page(h);
    InfoRecord& r = h.rec();
    p.CheckBox49->setChecked(true);
    p.CheckBox27->setChecked(true);
    p.CheckBox28->setChecked(false);
    EXPECT_EQ(1, r.CsvHeader);
    EXPECT_EQ(1, r.SaveCsv);
    EXPECT_EQ(0, r.SaveBinary);
    p.Edit22->setText(QStringLiteral("42回"));
    EXPECT_EQ(42, r.CollectRepeatCount);
    p.Edit21->setText(QStringLiteral("試料A"));
    EXPECT_EQ(QStringLiteral("試料A"), fromSjis(r.CollectFileName));
    p.Edit21->setText(QString(300, QLatin1Char('x')));
    EXPECT_EQ('\0', r.CollectFileName[255]) << "a long name is cut inside its field";

    // The MCA# boxes follow only an enabled MCA.
    ASSERT_EQ(1, r.Mca1Enabled);
    ASSERT_EQ(0, r.Mca2Enabled);
    p.CheckBox23->setChecked(true);
    EXPECT_EQ(1, r.AutoCollectMca1);
    p.CheckBox24->setChecked(true);
    EXPECT_FALSE(p.CheckBox24->isChecked());
    EXPECT_EQ(0, r.AutoCollectMca2);
}

TEST(McaPage, SoundSwitchTogglesVoiceOnWithItsCue) {
    Harness h;
    McaPage& p = page(h);
    ASSERT_EQ(1, h.rec().VoiceOn);
    h.sounds.played.clear();
    p.SButton10->click();
    EXPECT_EQ(0, h.rec().VoiceOn);
    EXPECT_FALSE(p.SButton10->isChecked());
    p.SButton10->click();
    EXPECT_EQ(1, h.rec().VoiceOn);
    EXPECT_TRUE(p.SButton10->isChecked());
    EXPECT_EQ((QStringList{"onseiEnd.wav", "onseiStart.wav"}), h.sounds.played);
}

TEST(McaPage, ViewRadioGroupSetsViewAndCurrentSlot) {
    Harness h;
    McaPage& p = page(h);
    p.RadioGroup1->button(2)->click();
    EXPECT_EQ(2, h.st().spectrum.ViewSlot);
    EXPECT_EQ(2, h.rec().CurrentSlot);
    p.RadioGroup1->button(1)->click();
    EXPECT_EQ(1, h.st().spectrum.ViewSlot);
    EXPECT_EQ(1, h.rec().CurrentSlot);
    p.RadioGroup1->setItemIndex(0);
    EXPECT_EQ(1, h.st().spectrum.ViewSlot) << "selecting from code runs nothing";

    // The channel window and the scale stay; the cursor is the new slot's own.
    SpectrumState& sp = h.st().spectrum;
    sp.ViewStartChannel = 256;
    sp.ViewChannelSpan = 512;
    sp.ViewEndChannel = 767;
    sp.FullScale = 5000;
    sp.FullScaleStep = 5;
    sp.CursorChannel[0] = 300;
    sp.CursorChannel[1] = 700;
    p.RadioGroup1->button(0)->click();
    EXPECT_EQ(256, sp.ViewStartChannel);
    EXPECT_EQ(767, sp.ViewEndChannel);
    EXPECT_EQ(5000, sp.FullScale);
    EXPECT_EQ(300, sp.CursorChannel[0]);
    EXPECT_EQ(700, sp.CursorChannel[1]);
    const QImage mca1 = p.PaintBox1->shownImage().copy();
    p.RadioGroup1->button(1)->click();
    const int xc = static_cast<int>((700.0 - 256) * sp.PlotWidth / 512);
    EXPECT_EQ(qRgb(255, 0, 0), p.PaintBox1->shownImage().pixel(xc, 100))
        << "redrawn with the cursor of MCA2";
    EXPECT_NE(mca1, p.PaintBox1->shownImage());
}

TEST(McaPage, SpectrumAreaTakesTheGivenSizeWithThePanelsBesideAndBelow) {
    Harness h;
    McaPage& p = page(h);
    p.setSpectrumArea(QSize(640, 380));
    EXPECT_EQ(QSize(640, 380), p.PaintBox1->size());
    EXPECT_EQ(QSize(640, 380), p.SPCImage.size());
    EXPECT_EQ(QImage::Format_RGB32, p.SPCImage.format());
    EXPECT_EQ(639, h.st().spectrum.PlotWidth);
    EXPECT_EQ(379, h.st().spectrum.PlotHeight);
    EXPECT_GT(p.Panel2->x(), p.PaintBox1->geometry().right());
    EXPECT_GT(p.Panel3->y(), p.PaintBox1->geometry().bottom());
    EXPECT_EQ(McaPage::kPanel2Width, p.Panel2->width());
    EXPECT_EQ(McaPage::kPanel3Height, p.Panel3->height());
}

TEST(McaPage, AtTheNormalWindowSizeEverythingFitsIntoThePage) {
    Harness h;
    h.form().show();
    h.form().setOuterSize(1020, 764);
    QApplication::processEvents();
    McaPage& p = page(h);
    const QSize outer = h.form().outerSize();
    const QSize area = p.PaintBox1->size();
    EXPECT_EQ(outer.width() - p.Panel2->width() - 40, area.width());
    EXPECT_EQ(outer.height() - h.form().Panel1->height() - p.Panel3->height() - 130, area.height());
    EXPECT_EQ(area, p.SPCImage.size());
    const QRect pageRect = p.rect();
    QWidget* parts[] = {p.PaintBox1, p.Panel2, p.Panel3};
    for (QWidget* w : parts)
        EXPECT_TRUE(pageRect.contains(w->geometry())) << w->objectName().toStdString();
    EXPECT_FALSE(p.Panel2->geometry().intersects(p.PaintBox1->geometry()));
    EXPECT_FALSE(p.Panel2->geometry().intersects(p.Panel3->geometry()));
    EXPECT_FALSE(p.Panel3->geometry().intersects(p.PaintBox1->geometry()));
    // The panels' contents are not squeezed below what they need.
    EXPECT_GE(p.Panel3->width(), p.Panel3->minimumSizeHint().width());
    EXPECT_GE(p.Panel2->height(), p.Panel2->minimumSizeHint().height());
}

// ---------------------------------------------------------------------------------------------
// ROI group

namespace {

// The program after start-up with a flat MCA1 spectrum of 50 counts per channel.
struct RoiFixture {
    Harness h;
    McaPage& p = page(h);
    SpectrumState& sp = h.st().spectrum;
    InfoRecord& r = h.rec();
    RoiFixture() {
        std::fill(sp.slot[0], sp.slot[0] + kSlotChannels, 50);
        p.setSpectrumArea(QSize(800, 420));
    }
    void roi(int s, int n, int32_t L, int32_t R) {
        r.RoiStart[s][n] = L;
        r.RoiEnd[s][n] = R;
    }
};

}  // namespace

TEST(McaPageRoi, TypingARoiNumberSelectsAndShowsIt) {
    RoiFixture f;
    f.roi(0, 7, 100, 110);
    f.p.Edit17->setText(QStringLiteral("7"));
    EXPECT_EQ(7, f.sp.CurrentRoi[0]);
    EXPECT_EQ(QStringLiteral("100"), f.p.Edit18->text());
    EXPECT_EQ(QStringLiteral("110"), f.p.Edit19->text());
    EXPECT_EQ(QColor(f.sp.RoiColour[7]), f.p.Edit25->palette().color(QPalette::Base));
    EXPECT_EQ(QStringLiteral("550"), f.p.Edit24->text()) << "GRS at the redraw";
    EXPECT_EQ(QStringLiteral("0"), f.p.Edit23->text());

    for (const char* bad : {"0", "100", "abc"}) {
        f.p.Edit17->setText(QString::fromLatin1(bad));
        EXPECT_EQ(7, f.sp.CurrentRoi[0]) << bad;
        EXPECT_EQ(QStringLiteral("7"), f.p.Edit17->text()) << "the box shows the current ROI again";
    }
}

TEST(McaPageRoi, UpAndDownStayInsideOneTo99) {
    RoiFixture f;
    f.p.Button8->click();
    EXPECT_EQ(1, f.sp.CurrentRoi[0]);
    f.p.Button7->click();
    f.p.Button7->click();
    EXPECT_EQ(3, f.sp.CurrentRoi[0]);
    EXPECT_EQ(QStringLiteral("3"), f.p.Edit17->text());
    f.p.Edit17->setText(QStringLiteral("99"));
    f.p.Button7->click();
    EXPECT_EQ(99, f.sp.CurrentRoi[0]);
    EXPECT_EQ(QStringLiteral("99"), f.p.Edit17->text());
}

TEST(McaPageRoi, SetTwiceDefinesTheCurrentRoiAndShowsItsCounts) {
    RoiFixture f;
    f.p.Button7->click();  // ROI 2
    f.sp.CursorChannel[0] = 220;
    f.p.Button9->click();
    f.sp.CursorChannel[0] = 200;
    f.p.Button9->click();
    EXPECT_EQ(200, f.r.RoiStart[0][2]);
    EXPECT_EQ(220, f.r.RoiEnd[0][2]);
    EXPECT_EQ(QStringLiteral("200"), f.p.Edit18->text());
    EXPECT_EQ(QStringLiteral("220"), f.p.Edit19->text());
    EXPECT_EQ(QStringLiteral("1050"), f.p.Edit24->text());
    EXPECT_EQ(QStringLiteral("0"), f.p.Edit23->text());
    // The shading is in the image that was copied to the paint area.
    const int x = static_cast<int>(int64_t(210) * f.sp.PlotWidth / f.sp.ViewChannelSpan);
    EXPECT_EQ(f.sp.RoiColour[2], f.p.PaintBox1->shownImage().pixel(x, f.sp.PlotHeight - 40));
}

TEST(McaPageRoi, ClearAndAllClear) {
    RoiFixture f;
    f.roi(0, 0, 5, 9);
    f.roi(0, 1, 100, 110);
    f.roi(0, 2, 300, 310);
    f.roi(1, 1, 100, 110);
    f.p.Button10->click();  // CLR of ROI 1
    EXPECT_EQ(0, f.r.RoiEnd[0][1]);
    EXPECT_EQ(310, f.r.RoiEnd[0][2]);
    EXPECT_EQ(9, f.r.RoiEnd[0][0]);
    for (QLineEdit* e : {f.p.Edit18, f.p.Edit19, f.p.Edit23, f.p.Edit24})
        EXPECT_EQ(QStringLiteral("0"), e->text()) << e->objectName().toStdString();
    f.p.Button11->click();  // All Clear
    for (int n = 0; n < 100; ++n) EXPECT_EQ(0, f.r.RoiEnd[0][n]) << n;
    EXPECT_EQ(110, f.r.RoiEnd[1][1]) << "MCA2 keeps its ROIs";
}

TEST(McaPageRoi, CallRoiPicksTheHighestRoiUnderTheCursor) {
    RoiFixture f;
    f.roi(0, 3, 100, 300);
    f.roi(0, 7, 150, 250);
    f.sp.CursorChannel[0] = 200;
    f.p.Button15->click();
    EXPECT_EQ(7, f.sp.CurrentRoi[0]);
    EXPECT_EQ(QStringLiteral("7"), f.p.Edit17->text());
    EXPECT_EQ(QStringLiteral("150"), f.p.Edit18->text());
    EXPECT_EQ(QStringLiteral("5050"), f.p.Edit24->text());
    f.sp.CursorChannel[0] = 1000;
    f.p.Button15->click();
    EXPECT_EQ(7, f.sp.CurrentRoi[0]) << "no match changes nothing";
}

TEST(McaPageRoi, JumpPutsTheCursorOnTheRoiStart) {
    RoiFixture f;
    f.roi(0, 1, 321, 400);
    f.p.Button12->click();
    EXPECT_EQ(321, f.sp.CursorChannel[0]);
    f.p.Button7->click();  // ROI 2, start 0 (not set)
    f.p.Button12->click();
    EXPECT_EQ(0, f.sp.CursorChannel[0]);
}

TEST(McaPageRoi, EdgeButtonsMoveTheCurrentRoi) {
    RoiFixture f;
    f.roi(0, 1, 10, 13);
    f.p.SpeedButton40->click();
    EXPECT_EQ(11, f.r.RoiStart[0][1]);
    EXPECT_EQ(12, f.r.RoiEnd[0][1]);
    f.p.SpeedButton39->click();
    EXPECT_EQ(QStringLiteral("10"), f.p.Edit18->text());
    EXPECT_EQ(QStringLiteral("13"), f.p.Edit19->text());
    f.p.SpeedButton42->click();
    EXPECT_EQ(11, f.r.RoiStart[0][1]);
    EXPECT_EQ(14, f.r.RoiEnd[0][1]);
    f.p.SpeedButton41->click();
    EXPECT_EQ(10, f.r.RoiStart[0][1]);
    EXPECT_EQ(13, f.r.RoiEnd[0][1]);
}

TEST(McaPageRoi, SwitchingTheSlotKeepsTheRoiBoxesUntilTheNextRoiCommand) {
    RoiFixture f;
    f.roi(0, 1, 100, 110);
    f.p.Edit17->setText(QStringLiteral("1"));
    f.p.Button9->click();  // redraw with ROI 1 of MCA1: GRS 550 ... (SET moves the end)
    f.roi(0, 1, 100, 110);
    f.p.DrawSpectrum();
    ASSERT_EQ(QStringLiteral("550"), f.p.Edit24->text());
    f.sp.CurrentRoi[1] = 4;
    f.roi(1, 4, 20, 29);
    std::fill(f.sp.slot[1], f.sp.slot[1] + kSlotChannels, 10);
    f.p.RadioGroup1->button(1)->click();
    EXPECT_EQ(QStringLiteral("1"), f.p.Edit17->text()) << "the number box keeps the old ROI";
    EXPECT_EQ(QStringLiteral("100"), f.p.Edit18->text());
    EXPECT_EQ(QStringLiteral("100"), f.p.Edit24->text()) << "GRS follows the new slot's ROI";
    // Without a defined current ROI in the new slot the counts stay.
    f.p.RadioGroup1->button(2)->click();
    EXPECT_EQ(QStringLiteral("100"), f.p.Edit24->text());
}

// ---------------------------------------------------------------------------------------------
// View commands and slot operations

TEST(McaPageView, ZoomScaleAndCursorButtonsRedrawTheView) {
    RoiFixture f;
    ASSERT_EQ(2048, f.sp.ViewChannelSpan);
    f.sp.CursorChannel[0] = 10;
    f.p.SpeedButton1->click();
    EXPECT_EQ(0, f.sp.ViewStartChannel);
    EXPECT_EQ(1023, f.sp.ViewEndChannel);
    f.p.SpeedButton2->click();
    EXPECT_EQ(2047, f.sp.ViewEndChannel);
    QImage before = f.p.PaintBox1->shownImage().copy();
    f.p.SpeedButton44->click();
    EXPECT_EQ(11, f.sp.CursorChannel[0]);
    EXPECT_NE(before, f.p.PaintBox1->shownImage()) << "a cursor step redraws";
    f.p.SpeedButton43->click();
    EXPECT_EQ(10, f.sp.CursorChannel[0]);
    f.p.SpeedButton3->click();
    EXPECT_EQ(100, f.sp.FullScale) << "50 counts: the automatic scale gives 100";
    f.p.SpeedButton6->click();
    EXPECT_EQ(200, f.sp.FullScale);
    f.p.SpeedButton4->click();
    EXPECT_EQ(0, f.sp.FullScale);
    before = f.p.PaintBox1->shownImage().copy();
    f.p.SpeedButton5->click();
    EXPECT_EQ(0, f.r.ViewLineMode);
    EXPECT_NE(before, f.p.PaintBox1->shownImage()) << "dots instead of a line, at once";
    f.p.SpeedButton5->click();
    EXPECT_EQ(1, f.r.ViewLineMode);
    f.p.SpeedButton13->click();
    EXPECT_EQ(0, f.sp.ViewStartChannel) << "a window over the whole slot stays";
    f.sp.CursorChannel[0] = 10;
    f.p.SpeedButton1->click();
    f.p.SpeedButton13->click();
    EXPECT_EQ(512, f.sp.ViewStartChannel);
    EXPECT_EQ(1024, f.sp.CursorChannel[0]);
    f.p.SpeedButton12->click();
    EXPECT_EQ(0, f.sp.ViewStartChannel);
    EXPECT_EQ(512, f.sp.CursorChannel[0]);
    // The cursor's red line is in the picture at its column.
    f.sp.CursorChannel[0] = 700;
    f.p.DrawSpectrum();
    const int xc = static_cast<int>(700.0 * f.sp.PlotWidth / f.sp.ViewChannelSpan);
    EXPECT_EQ(qRgb(255, 0, 0), f.p.PaintBox1->shownImage().pixel(xc, 100));
}

TEST(McaPageView, MouseClickMovesTheCursorAndTextsAreDrawn) {
    RoiFixture f;
    const QPointF at(f.sp.PlotWidth / 2, 10);
    QMouseEvent press(QEvent::MouseButtonPress, at, f.p.PaintBox1->mapToGlobal(at),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(f.p.PaintBox1, &press);
    EXPECT_NEAR(1024, f.sp.CursorChannel[0], 2) << "any button moves the cursor";
    // "VFS=LOG" is written at the top left.
    const QImage& img = f.p.PaintBox1->shownImage();
    int ink = 0;
    for (int y = 2; y < 14; ++y)
        for (int x = 3; x < 50; ++x) ink += qGray(img.pixel(x, y)) < 128;
    EXPECT_GT(ink, 20);
}

TEST(McaPageView, OverlayToggleEnablesItsColourButtonWithoutARedraw) {
    RoiFixture f;
    f.p.DrawSpectrum();
    const QImage before = f.p.PaintBox1->shownImage().copy();
    f.p.SpeedButton25->click();
    EXPECT_EQ(1, f.sp.OverlapOn);
    EXPECT_TRUE(f.p.SpeedButton45->isEnabled());
    EXPECT_EQ(before, f.p.PaintBox1->shownImage()) << "shown only at the next redraw";
    f.p.SpeedButton45->click();
    EXPECT_EQ(qRgb(255, 0, 0), f.sp.OverlapColour);
    EXPECT_NE(before, f.p.PaintBox1->shownImage());
    f.p.SpeedButton25->click();
    EXPECT_EQ(0, f.sp.OverlapOn);
    EXPECT_FALSE(f.p.SpeedButton45->isEnabled());
}

TEST(McaPageView, NothingIsDrawnWhileAnotherPageIsShown) {
    RoiFixture f;
    f.roi(0, 1, 100, 110);
    f.h.form().PageMaster->setCurrentIndex(TForm9::kSetup);
    f.p.Edit23->setText(QStringLiteral("x"));
    f.p.DrawSpectrum();
    EXPECT_EQ(QStringLiteral("x"), f.p.Edit23->text());
}

TEST(McaPageSlots, ArithmeticAndCopyUseTheComboSelections) {
    RoiFixture f;
    fillSlotTestPatterns(f.sp);
    f.r.McaChannels[2] = 1024;
    f.r.SlotViewChannels[2] = 1024;
    f.p.compute->click();  // WORK = MCA1 - MCA2
    EXPECT_EQ(0, f.sp.slot[2][100]);
    choose(f.p.CB1, 1);
    choose(f.p.CB2, 0);
    f.p.compute->click();  // WORK = MCA2 - MCA1
    EXPECT_EQ(2000, f.sp.slot[2][4095]);
    f.p.Button14->click();  // COPY MCA1 to WORK
    EXPECT_EQ(4095, f.sp.slot[2][4095]);
    EXPECT_EQ(1024, f.r.SlotViewChannels[2]) << "COPY keeps WORK's channel count";
    f.p.SpeedButton31->click();  // spectrum to WORK
    EXPECT_EQ(2048, f.r.SlotViewChannels[2]);
    EXPECT_EQ(2048, f.r.McaChannels[2]);
}
